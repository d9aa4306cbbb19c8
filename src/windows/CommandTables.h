#pragma once

#include <QString>
#include <QStringList>

class PopupMenu;
class Toolbar;

// The main window's menu tree and button toolbar, item by item.
class CommandTables
{
public:
    static constexpr int kSaveButton = 2;
    static constexpr int kMetaButton = 11;
    static constexpr int kWindowMenuButton = 5;
    static inline const QString kViewMeta = QStringLiteral("mnuView(0)");
    static inline const QString kViewToolbar = QStringLiteral("mnuView(2)");
    // Without a document these are switched off: Close, Save, Properties, Full Code.
    static inline const QStringList kDocumentCommandKeys = { QStringLiteral("mnuFile(2)"),
        QStringLiteral("mnuFile(3)"), QStringLiteral("mnuFile(4)"), QStringLiteral("mnuView(1)") };
    // The image "mnuView(2)" shows while the toolbar strip is on.
    static constexpr int kToolbarItemImage = 5;

    static void buildMenu(PopupMenu &menu);
    static void buildToolbar(Toolbar &toolbar);
};
