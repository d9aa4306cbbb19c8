#pragma once

#include "CommandId.h"

#include <QString>

#include <optional>

class PopupMenu;
class Toolbar;

// Where the commands stand: the menu tree item by item, and the button toolbar.
class CommandTables
{
public:
    static inline const QString kSaveButton = QStringLiteral("tbSave");
    static inline const QString kMetaButton = QStringLiteral("tbMeta");
    static inline const QString kWindowMenu = QStringLiteral("mnuWindowTOP");
    // Without a document these are switched off.
    static constexpr CommandId kDocumentCommands[]
        = { CommandId::Close, CommandId::Save, CommandId::Properties, CommandId::FullCode };
    // The image the toolbar strip's menu item shows while the strip is on.
    static constexpr int kToolbarItemImage = 5;

    static void buildMenu(PopupMenu &menu);
    static void buildToolbar(Toolbar &toolbar);
    // The command a toolbar button gives; none for separators and beyond the last button.
    static std::optional<CommandId> buttonCommand(int index);
};
