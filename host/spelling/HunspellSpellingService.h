#pragma once

#include "NameVocabulary.h"
#include "services/SpellingService.h"

#include <functional>
#include <memory>

namespace bryx::host {

class SpellingDictionary;

// The application's spelling checker: Hunspell's English dictionary, with the words of the
// stored names read once, at the first check (not at start-up), and the user's word list.
class HunspellSpellingService : public SpellingService {
public:
    using VocabularySource = std::function<NameVocabulary()>;

    explicit HunspellSpellingService(VocabularySource vocabulary);
    ~HunspellSpellingService() override;

    void checkSpelling(RichTextBox& box) override;
    // The dictionary, made and filled at first use.
    SpellingDictionary& dictionary();
    bool vocabularyLoaded() const { return m_dictionary != nullptr; }

private:
    VocabularySource m_vocabulary;
    std::unique_ptr<SpellingDictionary> m_dictionary;
};

} // namespace bryx::host
