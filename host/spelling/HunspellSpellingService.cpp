#include "HunspellSpellingService.h"

#include "SpellingCheck.h"
#include "SpellingDialog.h"
#include "SpellingDictionary.h"
#include "common/BusyPointer.h"
#include "controls/RichTextBox.h"
#include "error/Error.h"
#include "services/MessageBox.h"

namespace bryx::host {

HunspellSpellingService::HunspellSpellingService(VocabularySource vocabulary)
    : m_vocabulary(std::move(vocabulary))
{
}

HunspellSpellingService::~HunspellSpellingService() = default;

SpellingDictionary& HunspellSpellingService::dictionary()
{
    if (!m_dictionary) {
        const BusyPointer busy;
        auto made = std::make_unique<SpellingDictionary>(SpellingDictionary::systemAffixFile(),
                                                         SpellingDictionary::systemDictionaryFile(),
                                                         SpellingDictionary::defaultUserWordsFile());
        if (m_vocabulary)
            made->setVocabulary(m_vocabulary());
        m_dictionary = std::move(made);
    }
    return *m_dictionary;
}

void HunspellSpellingService::checkSpelling(RichTextBox& box)
{
    const QString title = QObject::tr("Spelling");
    try {
        if (box.isReadOnly()) {
            MsgBox(QObject::tr("This field cannot be changed, so its spelling is not checked."),
                   MsgBoxStyle::Information, title);
            return;
        }
        SpellingDialog dialog(box.window());
        SpellingCheck check(dictionary(), dialog);
        const SpellingCheck::Summary summary = check.run(box);
        dialog.Unload();
        MsgBox(SpellingCheck::summaryText(summary), MsgBoxStyle::Information, title);
    } catch (const std::exception& error) {
        MsgBox(QObject::tr("The spelling check failed: %1").arg(Error::from(error).Description()),
               MsgBoxStyle::Exclamation, title);
    }
}

} // namespace bryx::host
