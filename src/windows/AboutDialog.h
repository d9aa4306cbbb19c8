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

    QString titleText() const;
    QString versionText() const;

private:
    QLabel *m_mark;
    QLabel *m_title;
    QLabel *m_version;
    QLabel *m_uses;
    QListWidget *m_components;
    QLabel *m_credit;
    QPushButton *m_okButton;
};
