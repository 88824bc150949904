#pragma once

// The details editor on the generated database of a million names, as the benchmarks start it:
// the host's application manager over that database and an editor in a window of its own.
#include "BenchSearches.h"
#include "contracts/WindowManager.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/LateBinding.h"
#include "hosting/UserControl.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"

#include <QWidget>
#include <memory>

namespace bryx::bench {

using host::DatabaseUrl;
using host::SqlAppManager;

inline SqlAppManager& appManager()
{
    static SqlAppManager manager(DatabaseUrl::parse("sqlite:" + bench::benchDatabasePath()),
                                 QStringLiteral("editor"));
    return manager;
}

inline std::shared_ptr<AppManager> sharedHost()
{
    return std::shared_ptr<AppManager>(std::shared_ptr<AppManager>(), &appManager());
}

struct StartedEditor {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    UserControl* editor;
    std::shared_ptr<Recordset> list;

    explicit StartedEditor(std::shared_ptr<Recordset> names)
        : list(std::move(names))
    {
        editor =
            ComponentRegistry::instance().create(QLatin1String(registration::DetailsProgId), window.get());
        auto views = appManager().ViewManager()->colViews();
        QVariantList arguments {QVariant::fromValue(list),
                                QVariant::fromValue(sharedHost()),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                QString()};
        CallByName(*editor, "InitDetails", arguments);
        window->resize(editor->size());
        window->show();
    }
    ~StartedEditor() { CallByName(*editor, "Deactivate"); }
    int32_t idAt(int position) const
    {
        list->MoveFirst();
        list->Move(position - 1);
        return list->Fields("ID").Value().toInt();
    }
};

} // namespace bryx::bench
