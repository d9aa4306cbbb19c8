#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class SettingsCatalogue;

// The About box: title and version, the full version with build and company, the
// components in use and the author credit.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(const SettingsCatalogue &settings, QWidget *parent = nullptr);

    QLabel *Picture1;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblUses;
    QListWidget *ListUsers;
    QLabel *lblWrittenBy;
    QPushButton *btnOK;
};
