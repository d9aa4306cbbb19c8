#pragma once

#include "FileAssociations.h"

#include <QDialog>

class ProgramServices;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsCatalogue;
class TabControl;

// Program Settings: the standard author and default charset (Editor), backups (General)
// and the file-type associations (File extentions). Apply and OK write everything shown;
// Cancel writes nothing.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(
        ProgramServices &services, const FileAssociations &associations, QWidget *parent = nullptr);

    void apply();

    TabControl *TabControl1;
    QWidget *Picture1; // General
    QWidget *Picture2; // File extentions
    QWidget *Picture3; // Editor
    QLabel *lblAuthor2;
    QLineEdit *txtAuthor2;
    QCheckBox *chkCharset;
    QCheckBox *chkBackupFiles;
    QLabel *Label1;
    QCheckBox *chkHTM;
    QCheckBox *chkASP;
    QCheckBox *chkPHP;
    QCheckBox *chkSSI;
    QPushButton *btnOK;
    QPushButton *btnApply;
    QPushButton *btnCancel;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPages();
    void buildTabs(ProgramServices &services);
    void loadValues();
    void trackChanges();
    void showPage(int position);
    QCheckBox *boxFor(FileAssociations::Family family) const;

    FileAssociations m_associations;
    SettingsCatalogue &m_settings;
};
