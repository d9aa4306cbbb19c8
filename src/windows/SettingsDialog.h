#pragma once

#include "FileAssociations.h"
#include "WidthLimits.h"

#include <QDialog>

class ProgramServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SettingsCatalogue;
class TabControl;

// Program Settings: the standard author, default charset and the widths a search result
// shows (Editor), backups (General) and the file-type associations (File extentions). Apply
// and OK write everything shown; Cancel writes nothing.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(
        ProgramServices &services, const FileAssociations &associations, QWidget *parent = nullptr);

    static constexpr int kPageCount = 3;

    void apply();

    TabControl &tabs() const { return *m_tabs; }
    // The page of the tab at a position from 1: Editor, General, File extentions.
    QWidget *page(int position) const;
    QLineEdit *authorEdit() const { return m_authorEdit; }
    QCheckBox *charsetBox() const { return m_charsetBox; }
    QCheckBox *backupBox() const { return m_backupBox; }
    QCheckBox *associationBox(FileAssociations::Family family) const;
    // The presets in order, then Custom, which alone lets the two numbers be typed.
    QComboBox *widthPresetBox() const { return m_widthPreset; }
    QSpinBox *titleWidthBox() const { return m_titleWidth; }
    QSpinBox *descriptionWidthBox() const { return m_descriptionWidth; }
    WidthLimits shownWidthLimits() const;
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *applyButton() const { return m_applyButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

Q_SIGNALS:
    // Applied limits that differ from those stored before.
    void widthLimitsChanged(const WidthLimits &limits);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPages();
    void buildWidthLimits();
    void showWidthLimits(const WidthLimits &limits);
    void showPreset(int index);
    void buildTabs(ProgramServices &services);
    void loadValues();
    void trackChanges();
    void showPage(int position);

    FileAssociations m_associations;
    SettingsCatalogue &m_settings;
    TabControl *m_tabs;
    QWidget *m_editorPage;
    QWidget *m_generalPage;
    QWidget *m_filesPage;
    QLabel *m_authorLabel;
    QLineEdit *m_authorEdit;
    QCheckBox *m_charsetBox;
    QComboBox *m_widthPreset;
    QSpinBox *m_titleWidth;
    QSpinBox *m_descriptionWidth;
    QCheckBox *m_backupBox;
    QLabel *m_associationsLabel;
    QCheckBox *m_htmBox;
    QCheckBox *m_aspBox;
    QCheckBox *m_phpBox;
    QCheckBox *m_ssiBox;
    QPushButton *m_okButton;
    QPushButton *m_applyButton;
    QPushButton *m_cancelButton;
};
