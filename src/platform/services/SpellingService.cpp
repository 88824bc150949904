#include "SpellingService.h"

namespace bryx {

namespace {

std::unique_ptr<SpellingService>& installed()
{
    static std::unique_ptr<SpellingService> service;
    return service;
}

} // namespace

SpellingService* SpellingService::current()
{
    return installed().get();
}

std::unique_ptr<SpellingService> SpellingService::install(std::unique_ptr<SpellingService> service)
{
    auto previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

} // namespace bryx
