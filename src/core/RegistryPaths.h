#pragma once

#include <QString>

// Every registry key path and value name the program reads or writes. Other programs read
// them too, so they keep their texts exactly.
class RegistryPaths
{
public:
    // Under HKEY_CURRENT_USER: the program's own key; the recent files are its values
    // File1, File2...
    static inline const QString kProgramKey = QStringLiteral("Software\\Vantorel\\Tagsmith LITE");
    static inline const QString kRecentFileValuePrefix = QStringLiteral("File");

    // Under HKEY_CURRENT_USER: the user name registered with the system.
    static inline const QString kUserInfoKey
        = QStringLiteral("Software\\Microsoft\\MS Setup (ACME)\\User Info");
    static inline const QString kUserNameValue = QStringLiteral("DefName");

    // Under HKEY_CLASSES_ROOT: the class key of each family of web pages...
    static inline const QString kAspClassKey = QStringLiteral("aspfile");
    static inline const QString kPhpClassKey = QStringLiteral("phpfile");
    static inline const QString kSsiClassKey = QStringLiteral("ssifile");
    static inline const QString kHtmClassKey = QStringLiteral("htmlfile");
    // ... an extension key's value naming the type ...
    static inline const QString kContentTypeValue = QStringLiteral("Content Type");
    // ... and the subkeys below a class key.
    static inline const QString kDefaultIconKey = QStringLiteral("\\DefaultIcon");
    static inline const QString kEditVerbKey = QStringLiteral("\\shell\\Edit_with_Tagsmith");
    static inline const QString kCommandKey = QStringLiteral("\\command");
    // The defaults earlier versions pinned: a value per MIME type naming the desktop id.
    static inline const QString kPinsKey = QStringLiteral("\\Tagsmith pinned defaults");
};
