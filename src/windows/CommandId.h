#pragma once

// Every command the menus, the toolbar and the keys give.
enum class CommandId {
    New,
    Open,
    OpenSite,
    Close,
    Save,
    SaveAs,
    Properties,
    Exit,
    RecentFile1,
    RecentFile2,
    RecentFile3,
    Undo,
    Cut,
    Copy,
    Paste,
    CopyMetaTags,
    InsertStandardAuthor,
    MetaPane,
    FullCode,
    ToolbarStrip,
    ProgramSettings,
    Cascade,
    TileHorizontally,
    TileVertically,
    ArrangeIcons,
    HelpIndex,
    TagsmithHome,
    Forum,
    RobotsMetaTag,
    Vantorel,
    About,
};

inline constexpr int kCommandCount = static_cast<int>(CommandId::About) + 1;
