#pragma once

#include <memory>

namespace bryx {

class RichTextBox;

// The spelling checker behind every rich-text box's CheckSpelling: none until the application
// installs one, replaceable as a whole so tests can script or swap it.
class SpellingService {
public:
    virtual ~SpellingService() = default;

    // Checks the box's text with the user, changing it in place.
    virtual void checkSpelling(RichTextBox& box) = 0;

    // The installed checker; null when none is.
    static SpellingService* current();
    static std::unique_ptr<SpellingService> install(std::unique_ptr<SpellingService> service);
};

} // namespace bryx
