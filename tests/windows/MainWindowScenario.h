#pragma once

#include "TestHome.h"
#include "DesktopApplication.h"
#include "DocumentWindow.h"
#include "PopupMenu.h"
#include "SettingsStore.h"
#include "StatusBar.h"
#include "toolbar/Toolbar.h"
#include "DocumentCommands.h"
#include "ExternalTools.h"
#include "ProgramLauncher.h"
#include "UserPrompts.h"
#include "MainWindow.h"
#include "MetaPane.h"
#include "ProgramServices.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QUrl>

#include <memory>

// Records what would have been started instead of starting it, and answers that it started
// unless told to fail.
class RecordingLauncher : public ProgramLauncher
{
public:
    bool start(const QString &program, const QStringList &arguments) override
    {
        started.append(QStringList { program } + arguments);
        return succeeds;
    }
    void open(const DesktopApplication &application, const QString &file,
        std::function<void(const QString &)> whenFailed) override
    {
        started.append(QStringList { application.id(), file });
        if (!succeeds)
            whenFailed(QStringLiteral("told to fail"));
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return opensUrls;
    }
    QList<QStringList> started;
    QList<QUrl> urls;
    bool succeeds = true;
    bool opensUrls = true;
};

// A home of its own for each scenario, with the version the start-up records, and the
// main window over it as the user sees it: shown, active, its prompts scripted.
struct Scenario
{
    explicit Scenario(const QMap<QString, QString> &stored = {})
    {
        SettingsStore store;
        store.setValue("Version", "2.01a");
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            store.setValue(it.key(), it.value());
        start();
    }

    void start()
    {
        // Each start reads the settings and the recent files afresh.
        services = std::make_unique<ProgramServices>();
        window = std::make_unique<MainWindow>(*services);
        window->prompts().setScripted(true);
        auto recorder = std::make_unique<RecordingLauncher>();
        launcher = recorder.get();
        window->tools().setLauncher(std::move(recorder));
        window->show();
        window->activateWindow();
        // Focus, and with it the active field, needs the window active.
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
    }
    void restart()
    {
        window->close();
        window.reset();
        start();
    }

    DocumentWindow *open(const QString &path)
    {
        window->openCommandLine({ path });
        return window->activeDocument();
    }
    // A page of the test's own kind, or of the bytes given.
    QString page(const QString &name, const QByteArray &bytes = {}) const
    {
        return home.write(name, bytes.isNull() ? defaultPage : bytes);
    }
    void activate(int index) const
    {
        window->mdiArea().setActiveSubWindow(window->mdiArea().subWindowList().at(index));
    }
    void save(DocumentWindow *document) const
    {
        window->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(document->parentWidget()));
        window->commands().saveActive();
    }

    PopupMenu &menu() const { return window->menu(); }
    int item(const QString &key) const { return menu().findItemByKey(key); }
    QString caption(const QString &key) const { return menu().caption(item(key)); }
    void click(const QString &key) const { emit menu().clicked(item(key)); }
    // How the user reaches a command: a menu key, a toolbar button or key presses.
    void give(const QString &how, const QString &what) const
    {
        if (how == "menu") {
            click(what);
        } else if (how == "toolbar") {
            window->toolbar().raiseButtonClick(what.toInt());
        } else {
            QWidget *focused = QApplication::focusWidget();
            QTest::keySequence(focused ? focused : window.get(), QKeySequence(what));
        }
    }

    // Keys of the File menu's items, top to bottom.
    QStringList fileMenu() const
    {
        QStringList keys;
        const int file = item("mnuFileTOP");
        for (int i = 1; i <= menu().count(); ++i) {
            if (menu().itemParent(i) == file)
                keys.append(menu().itemKey(i).isEmpty() ? QStringLiteral("-") : menu().itemKey(i));
        }
        return keys;
    }

    QString fil() const { return window->status().panelText("fil"); }
    QString msg() const { return window->status().panelText("msg"); }
    int windows() const { return static_cast<int>(window->mdiArea().subWindowList().size()); }
    const QList<UserPrompts::Shown> &prompts() const { return window->prompts().shown(); }
    static QString stored(const QString &name) { return SettingsStore().value(name); }

    inline static QByteArray defaultPage;
    TestHome home;
    std::unique_ptr<ProgramServices> services;
    std::unique_ptr<MainWindow> window;
    RecordingLauncher *launcher = nullptr;
};
