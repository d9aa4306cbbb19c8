#pragma once

#include <QObject>
#include <QString>

class DocumentCommands;
struct WidthLimits;
class QMdiArea;
class SettingsCatalogue;
class SiteWindow;
class StatusPanels;
class UserPrompts;

// Open Site, and what a site window asks to have done: saving its pages after a preview,
// taking the last save back, opening a page in its document window, finding and replacing
// in its rows, and the question about unsaved edits before it closes.
class SiteCommands : public QObject
{
    Q_OBJECT

public:
    SiteCommands(QMdiArea &mdiArea, UserPrompts &prompts, StatusPanels &status, DocumentCommands &documents,
        const SettingsCatalogue &settings, QObject *parent = nullptr);

    // The File menu's Open Site: asks for the folder first.
    void openWithDialog();
    // A site open already comes forward as it is.
    SiteWindow *open(const QString &folder);

    // False when nothing was written, or some page was refused.
    bool saveAll(SiteWindow &window);
    bool undoLastSave(SiteWindow &window);
    // The rows shown, to a CSV file asked for; false when none was written.
    bool exportTable(SiteWindow &window);
    // Edits from a CSV file asked for, all or none; false when none were taken.
    bool importTable(SiteWindow &window);
    bool confirmClose(SiteWindow &window);
    void openPage(SiteWindow &window, int row);
    // Find and replace over the selected rows, applied as edits once the user saw them.
    void changeText(SiteWindow &window);

    SiteWindow *activeWindow() const;
    SiteWindow *windowOf(const QString &folder) const;
    // Every open site window holds its pages to these limits from now on.
    void applyWidthLimits(const WidthLimits &limits);

Q_SIGNALS:
    // A folder opened as a site, or brought forward.
    void siteOpened(const QString &folder);
    // A site window reads pages: found so far, and read of them.
    void loadProgress(qint64 found, qint64 read);
    void loadFinished();

private:
    SiteWindow *createWindow();
    void reportLoadEnd(const SiteWindow &window, bool cancelled);

    QMdiArea &m_mdiArea;
    UserPrompts &m_prompts;
    StatusPanels &m_status;
    DocumentCommands &m_documents;
    const SettingsCatalogue &m_settings;
};
