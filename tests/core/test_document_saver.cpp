#include "TestHome.h"
#include "Unprivileged.h"

#include "ByteView.h"
#include "DocumentRewriter.h"
#include "DocumentSaver.h"
#include "FileStamp.h"
#include "FileWriter.h"

#include <QDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

using SaveError = DocumentSaver::SaveError;

namespace {

const QByteArray kPage = "<html>\r\n<head>\r\n<meta name=\"keywords\" content=\"old\">\r\n</head>\r\n</html>\r\n";

// Every name in a folder, hidden ones and links included, in byte order.
QStringList listing(const QString &folder)
{
    QStringList names
        = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    names.sort();
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

struct stat statOf(const QString &path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

struct stat statOf(int fd)
{
    struct stat info = {};
    ::fstat(fd, &info);
    return info;
}

bool hardLink(const QString &existing, const QString &added)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(added).constData()) == 0;
}

DocumentSaver::Request saveOf(const QString &path, bool backup = true, const QString &target = {})
{
    MetaElementSet values;
    values.setText(TextField::Keywords, "new");
    return { path, target.isEmpty() ? path : target, path, values, QStringLiteral("2.01a"), backup };
}

// Every field of a result, for one comparison that shows them all.
QString fieldsOf(const DocumentSaver::Result &result)
{
    return QStringLiteral("ok=%1 changed=%2 backup=%3 code=%4 error=%5")
        .arg(result.ok)
        .arg(result.changed)
        .arg(result.backupPath)
        .arg(int(result.code))
        .arg(result.error);
}

// A save's error, or the promise it broke about the page it wrote: the bytes it says the
// page holds, and a stamp that the page on disk still matches.
QString savedAsReported(const DocumentSaver::Request &request)
{
    const DocumentSaver::Result result = DocumentSaver::save(request);
    if (!result.ok)
        return result.error;
    if (result.written != readFile(request.targetPath))
        return QStringLiteral("the bytes written are not the page's");
    if (!result.stamp.exists || !(result.stamp == FileStamp::of(request.targetPath)))
        return QStringLiteral("the stamp is not the page's");
    return {};
}

void chmodOrFail(const QString &path, mode_t mode)
{
    QVERIFY2(::chmod(QFile::encodeName(path).constData(), mode) == 0, qPrintable(path));
}

void chownOrFail(const QString &path, uid_t owner)
{
    QVERIFY2(::chown(QFile::encodeName(path).constData(), owner, owner) == 0, qPrintable(path));
}

constexpr int kNobody = 65534;

// The process's umask for as long as it lives.
class Umask
{
public:
    explicit Umask(mode_t mask)
        : m_previous(::umask(mask))
    {
    }
    ~Umask() { ::umask(m_previous); }
    Umask(const Umask &) = delete;
    Umask &operator=(const Umask &) = delete;

private:
    mode_t m_previous;
};

// A disk with a number of bytes free. Room a file already has (its size, or what was
// claimed for it) costs nothing; room past it takes from the free bytes, and a write
// that needs more stops where the disk is full. Without reservations, claiming room
// claims nothing, as on file systems that cannot. It counts the bytes written to each file.
class FullDisk : public FileWriter
{
public:
    FullDisk(qint64 freeBytes, bool reservations)
        : m_free(freeBytes)
        , m_reservations(reservations)
    {
    }

    int reserve(int fd, qint64 length) override
    {
        if (!m_reservations)
            return 0;
        const qint64 needed = length - roomOf(fd);
        if (needed > m_free)
            return ENOSPC;
        if (needed > 0) {
            m_free -= needed;
            m_room[inodeOf(fd)] = length;
        }
        return 0;
    }

    int writeAt(int fd, qint64 offset, std::string_view bytes) override
    {
        const qint64 end = offset + qint64(bytes.size());
        const qint64 growth = std::max<qint64>(0, end - std::max(roomOf(fd), offset));
        const qint64 taken = std::min(growth, m_free);
        m_free -= taken;
        const qint64 written = qint64(bytes.size()) - (growth - taken);
        m_room[inodeOf(fd)] = std::max(roomOf(fd), offset + written);
        m_written[inodeOf(fd)] += written;
        if (const int error = FileWriter::writeAt(fd, offset, bytes.substr(0, std::size_t(written))))
            return error;
        return written < qint64(bytes.size()) ? ENOSPC : 0;
    }

    int truncate(int fd, qint64 length) override
    {
        const qint64 room = roomOf(fd);
        if (length < room) {
            m_free += room - length;
            m_room[inodeOf(fd)] = length;
        }
        return FileWriter::truncate(fd, length);
    }

    qint64 bytesWrittenTo(ino_t inode) const
    {
        const auto written = m_written.find(inode);
        return written == m_written.end() ? 0 : written->second;
    }

private:
    static ino_t inodeOf(int fd) { return statOf(fd).st_ino; }
    qint64 roomOf(int fd)
    {
        const auto claimed = m_room.find(inodeOf(fd));
        return std::max<qint64>(statOf(fd).st_size, claimed == m_room.end() ? 0 : claimed->second);
    }

    qint64 m_free;
    bool m_reservations;
    std::map<ino_t, qint64> m_room;
    std::map<ino_t, qint64> m_written;
};

// A disk on which one call, the n-th, fails with an I/O error. It tells whether that call
// was the sync of a folder, which comes after a file has taken its name.
class FailingCall : public FileWriter
{
public:
    explicit FailingCall(int failing)
        : m_failing(failing)
    {
    }

    int reserve(int fd, qint64 length) override { return fails(fd) ? EIO : FileWriter::reserve(fd, length); }
    int writeAt(int fd, qint64 offset, std::string_view bytes) override
    {
        return fails(fd) ? EIO : FileWriter::writeAt(fd, offset, bytes);
    }
    int truncate(int fd, qint64 length) override { return fails(fd) ? EIO : FileWriter::truncate(fd, length); }
    int sync(int fd) override { return fails(fd) ? EIO : FileWriter::sync(fd); }

    bool failed() const { return m_calls >= m_failing; }
    bool failedOnFolder() const { return m_failedOnFolder; }

private:
    bool fails(int fd)
    {
        if (++m_calls != m_failing)
            return false;
        m_failedOnFolder = S_ISDIR(statOf(fd).st_mode);
        return true;
    }

    int m_failing;
    int m_calls = 0;
    bool m_failedOnFolder = false;
};

// Lets the process open only this many more files while it lives, as when a program has
// run out of descriptors.
class DescriptorLimit
{
public:
    explicit DescriptorLimit(int more)
    {
        ::getrlimit(RLIMIT_NOFILE, &m_previous);
        rlim_t limit = 0;
        for (int free = 0; free <= more; ++limit) {
            if (::fcntl(int(limit), F_GETFD) < 0 && ++free > more)
                break;
        }
        const rlimit lowered { limit, m_previous.rlim_max };
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~DescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &m_previous); }
    DescriptorLimit(const DescriptorLimit &) = delete;
    DescriptorLimit &operator=(const DescriptorLimit &) = delete;

private:
    rlimit m_previous {};
};

} // namespace

struct Failure { QString kind; SaveError code; QString reason; bool previewRefuses; };
Q_DECLARE_METATYPE(Failure)

struct HeldSave { QString situation; int umask; bool backup; int mode; };
Q_DECLARE_METATYPE(HeldSave)

// owner: user and group of the page; folderMode: the folder belongs to root
struct Keeping { bool asNobody; int owner; int mode; int folderMode; int links; bool backup; bool inPlace; };
Q_DECLARE_METATYPE(Keeping)

// lookalike: a page beside it that no save may touch; linkedTo: what a link at the backup's name points to
struct BackupName { QString name; QString backupName; QString lookalike; QString linkedTo; QByteArray page; bool changed; };
Q_DECLARE_METATYPE(BackupName)

// shortBy: bytes the disk lacks for the whole save; -1: none free
struct DiskRoom { QByteArray page; int links; bool backup; int shortBy; bool reservations; bool saved; };
Q_DECLARE_METATYPE(DiskRoom)

// more: files the save may still open; reason: "<folder>" stands for the page's folder
struct Descriptors { int more; bool bytesHeld; int links; SaveError code; QString reason; };
Q_DECLARE_METATYPE(Descriptors)

class TestDocumentSaver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Written through a link, keeping the page's mode, the old file left alone by a Save As.
    void linkModeAndSaveAs()
    {
        TestHome home;
        const QString real = home.write(QStringLiteral("real/page.shtml"), kPage);
        const QString link = home.path() + QStringLiteral("/link.shtml");
        QVERIFY(QFile::link(real, link));
        chmodOrFail(real, 0750);
        const auto before = QFileInfo(real).permissions();
        const auto result = DocumentSaver::save(saveOf(link));
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.stamp == FileStamp::of(real));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(readFile(real).contains("content=\"new\""));
        QCOMPARE(QFileInfo(real).permissions(), before);
        // A new backup is no more readable than the page it copies.
        QCOMPARE(QFileInfo(result.backupPath).permissions(), before);

        const QString renamed = home.path() + QStringLiteral("/new.html");
        const QByteArray saved = readFile(real);
        QVERIFY(DocumentSaver::save(saveOf(real, false, renamed)).ok);
        QCOMPARE(readFile(real), saved);
        QVERIFY(readFile(renamed).contains("content=\"new\""));
    }

    // A backup written over an earlier one keeps that one's mode, whatever the page's, and
    // holds the page as it was before this save.
    void backupOverAnEarlierOneKeepsItsMode()
    {
        TestHome home;
        const QString path = home.write(QStringLiteral("www/index.html"), kPage);
        chmodOrFail(path, 0644);
        QVERIFY(DocumentSaver::save(saveOf(path)).ok);
        const QString backupPath = home.path() + QStringLiteral("/www/index.bak");
        chmodOrFail(backupPath, 0600);
        const QByteArray saved = readFile(path);
        DocumentSaver::Request again = saveOf(path);
        again.values.setText(TextField::Keywords, "newer");
        const DocumentSaver::Result result = DocumentSaver::save(again);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.backupPath, backupPath);
        QCOMPARE(readFile(backupPath), saved);
        QCOMPARE(int(statOf(backupPath).st_mode & 07777), 0600);
        QCOMPARE(int(statOf(path).st_mode & 07777), 0644);
    }

    // Every way a save can fail leaves every file as it was, with no temporary file left;
    // a preview refuses what the save would refuse where it can know it without writing.
    // "<folder>" in a reason stands for the page's folder.
    // Putting a backup back writes the page as a save does, and no backup of what it replaces.
    void restoreKeepsWhatTheFileIs_data()
    {
        QTest::addColumn<QString>("reachedAs"); // how the page is named: "file", "hard link", "symlink"
        QTest::newRow("a file of its own") << "file";
        QTest::newRow("one of two hard links: rewritten in place") << "hard link";
        QTest::newRow("through a symlink: its target written") << "symlink";
    }
    void restoreKeepsWhatTheFileIs()
    {
        QFETCH(QString, reachedAs);
        TestHome home;
        const QString real = home.write(QStringLiteral("real.html"), kPage + "<!-- saved since -->\n");
        chmodOrFail(real, 0640);
        QString path = real;
        if (reachedAs == QLatin1String("hard link")) {
            path = home.path() + QStringLiteral("/second.html");
            QVERIFY(hardLink(real, path));
        } else if (reachedAs == QLatin1String("symlink")) {
            path = home.path() + QStringLiteral("/link.html");
            QVERIFY(QFile::link(real, path));
        }
        const QStringList before = listing(home.path());
        const DocumentSaver::Result result = DocumentSaver::restore(path, kPage);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readFile(real), kPage);
        QCOMPARE(readFile(path), kPage);
        QCOMPARE(statOf(real).st_mode & 07777, mode_t(0640));
        QCOMPARE(listing(home.path()), before);
        QVERIFY(result.backupPath.isEmpty());
        QVERIFY(result.stamp == FileStamp::of(path));
        if (reachedAs == QLatin1String("symlink"))
            QVERIFY(QFileInfo(path).isSymLink());
        if (reachedAs == QLatin1String("hard link"))
            QCOMPARE(statOf(real).st_ino, statOf(path).st_ino);
    }

    void failures_data()
    {
        QTest::addColumn<Failure>("row");
        QTest::newRow("missing source")
            << Failure { "missing", SaveError::SourceUnreadable, "No such file or directory", true };
        QTest::newRow("no head start tag")
            << Failure { "nohead", SaveError::NoHead, "No HEAD section in file...", true };
        QTest::newRow("backup name taken by a folder")
            << Failure { "backupfolder", SaveError::BackupRefused, "index.bak: Is a directory", true };
        QTest::newRow("target a folder")
            << Failure { "targetfolder", SaveError::TargetRefused, "other: Is a directory", true };
        QTest::newRow("link to a full device")
            << Failure { "devfull", SaveError::TargetRefused, "Not a regular file", false };
        QTest::newRow("read-only folder, backup due")
            << Failure { "readonlyfolder", SaveError::BackupRefused, "<folder>: Permission denied", true };
        QTest::newRow("new page in a read-only folder")
            << Failure { "readonlyfolder-newpage", SaveError::TargetRefused, "<folder>: Permission denied", true };
        QTest::newRow("read-only file")
            << Failure { "readonlyfile", SaveError::TargetRefused, "index.html: Permission denied", true };
    }
    void failures()
    {
        QFETCH(Failure, row);
        auto [kind, code, reason, previewRefuses] = row;
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kind == "nohead" ? "<p>x</p>" : kPage);
        reason.replace(QStringLiteral("<folder>"), folder);
        DocumentSaver::Request request = saveOf(path);
        const bool unprivileged = kind.startsWith(QLatin1String("readonly"));
        if (kind == "missing") {
            QFile::remove(path);
        } else if (kind == "backupfolder") {
            QDir().mkpath(folder + QStringLiteral("/index.bak"));
        } else if (kind == "targetfolder") {
            request.targetPath = folder + QStringLiteral("/other");
            QDir().mkpath(request.targetPath);
        } else if (kind == "devfull") {
            request.targetPath = folder + QStringLiteral("/full.html");
            QVERIFY(QFile::link(home.fullDevice(), request.targetPath));
        } else if (unprivileged) {
            // Open to everyone but writable only by its owner, root in CI; or the file alone read-only.
            const bool fileOnly = kind == "readonlyfile";
            chmodOrFail(home.path(), 0755);
            chmodOrFail(folder, fileOnly ? 0777 : 0755);
            chmodOrFail(path, fileOnly ? 0444 : 0666);
            if (kind == "readonlyfolder-newpage") {
                request.targetPath = folder + QStringLiteral("/new.html");
                request.backup = false;
            }
        }
        const QStringList before = listing(folder);
        const QByteArray bytesBefore = readFile(path);
        const auto run = [&](bool preview) {
            return fieldsOf(preview ? DocumentSaver::preview(request).result : DocumentSaver::save(request));
        };
        for (const bool preview : { true, false }) {
            if (preview && !previewRefuses)
                continue;
            const QString fields = unprivileged ? runUnprivileged([&] { return run(preview); }) : run(preview);
            QVERIFY2(fields.startsWith(QStringLiteral("ok=0 changed=0 backup= code=%1 error=").arg(int(code)))
                    && fields.contains(reason),
                qPrintable(fields));
            QCOMPARE(listing(folder), before);
            QCOMPARE(readFile(path), bytesBefore);
        }
    }

    // A page is saved from the bytes last read when its file is gone or has changed since:
    // what is on disk is neither read nor kept, the backup holds the bytes saved from, and
    // a new file gets the mode any new file gets, or the source's while it is still there.
    void savesFromTheBytesHeld_data()
    {
        QTest::addColumn<HeldSave>("row");
        QTest::newRow("page deleted while open, backup due") << HeldSave { "deleted", 022, true, 0644 };
        QTest::newRow("page deleted while open, a tighter umask") << HeldSave { "deleted", 027, false, 0640 };
        QTest::newRow("page rewritten on disk without its HEAD") << HeldSave { "rewritten", 022, true, 0604 };
        QTest::newRow("Save As after the old file vanished") << HeldSave { "saveas", 077, true, 0600 };
    }
    void savesFromTheBytesHeld()
    {
        QFETCH(HeldSave, row);
        const auto [situation, umask, backup, mode] = row;
        TestHome home;
        const Umask mask(mode_t(umask & 0777));
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kPage);
        const QByteArray held = QByteArray(kPage).replace("old", "held");
        DocumentSaver::Request request = saveOf(path, backup);
        request.sourceBytes = held;
        if (situation == "rewritten") {
            home.write(QStringLiteral("www/index.html"), "<p>no HEAD any more</p>");
            chmodOrFail(path, 0604);
        } else {
            QVERIFY(QFile::remove(path));
        }
        if (situation == "saveas")
            request.targetPath = folder + QStringLiteral("/new.html");
        const std::optional<std::string> rewritten
            = DocumentRewriter::save(byteView(held), request.values, request.version.toStdString());
        QVERIFY(rewritten);
        const QByteArray expected = QByteArray::fromStdString(*rewritten);

        const DocumentSaver::Preview preview = DocumentSaver::preview(request);
        QCOMPARE(preview.before, held);
        QCOMPARE(preview.after, expected);
        const DocumentSaver::Result result = DocumentSaver::save(request);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.code, SaveError::None);
        QCOMPARE(readFile(request.targetPath), expected);
        QCOMPARE(result.written, expected);
        QVERIFY(result.stamp == FileStamp::of(request.targetPath));
        QCOMPARE(int(statOf(request.targetPath).st_mode & 07777), mode);
        const QString backupPath = folder + QStringLiteral("/index.bak");
        QCOMPARE(result.backupPath, backup ? backupPath : QString());
        QCOMPARE(readFile(backupPath), backup ? held : QByteArray());
        if (backup)
            QCOMPARE(int(statOf(backupPath).st_mode & 07777), mode);
    }

    // The page stays the file it was: its inode and every name of it, its mode, owner and
    // group, whoever saves it. It is replaced through a new file where that file can be made
    // the same, and rewritten in place where it cannot.
    void saveKeepsWhatTheFileIs_data()
    {
        QTest::addColumn<Keeping>("row");
        QTest::newRow("mode 0640, replaced") << Keeping { false, 0, 0640, 0755, 1, true, false };
        QTest::newRow("mode 0604, second hard link, in place") << Keeping { false, 0, 0604, 0755, 2, false, true };
        QTest::newRow("second hard link, backup due") << Keeping { false, 0, 0644, 0755, 2, true, true };
        QTest::newRow("root saves nobody's page") << Keeping { false, kNobody, 0640, 0755, 1, true, false };
        QTest::newRow("set-id bits on nobody's executable page") << Keeping { false, kNobody, 06775, 0755, 1, false, false };
        QTest::newRow("nobody saves its own page") << Keeping { true, kNobody, 0600, 0777, 1, true, false };
        QTest::newRow("nobody saves in a folder it may write but not list") << Keeping { true, kNobody, 0600, 0733, 1, true, false };
        QTest::newRow("nobody saves root's page it may write") << Keeping { true, 0, 0666, 0777, 1, true, true };
        QTest::newRow("read-only folder, no backup due") << Keeping { true, kNobody, 0640, 0755, 1, false, true };
    }
    void saveKeepsWhatTheFileIs()
    {
        QFETCH(Keeping, row);
        const auto [asNobody, owner, mode, folderMode, links, backup, inPlace] = row;
        if ((asNobody || owner != 0) && ::geteuid() != 0)
            QSKIP("giving files to another user needs root");
        TestHome home;
        chmodOrFail(home.path(), 0755);
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kPage);
        const QString secondName = folder + QStringLiteral("/second.html");
        QStringList names { "index.html" };
        if (links == 2) {
            QVERIFY(hardLink(path, secondName));
            names << "second.html";
        }
        if (backup)
            names << "index.bak";
        chownOrFail(path, uid_t(owner));
        chmodOrFail(path, mode_t(mode));
        chmodOrFail(folder, mode_t(folderMode));
        const struct stat before = statOf(path);
        const DocumentSaver::Request request = saveOf(path, backup);
        const QByteArray expected = DocumentSaver::preview(request).after;
        const auto as = [&](const std::function<QString()> &check) { return asNobody ? runUnprivileged(check) : check(); };

        QCOMPARE(as([&] { return DocumentSaver::preview(request).result.error; }), QString());
        QCOMPARE(as([&] { return savedAsReported(request); }), QString());
        const struct stat after = statOf(path);
        QCOMPARE(readFile(path), expected);
        QCOMPARE(after.st_ino == before.st_ino, inPlace);
        QCOMPARE(after.st_nlink, before.st_nlink);
        if (links == 2) {
            QCOMPARE(statOf(secondName).st_ino, after.st_ino);
            QCOMPARE(readFile(secondName), expected);
        }
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        if (backup)
            QCOMPARE(readFile(folder + QStringLiteral("/index.bak")), kPage);
        QCOMPARE(listing(folder), sorted(names));
    }

    // The path saved is the path given, byte for byte, and the backup is named from it; the
    // file a trimmed or unquoted name would reach is left alone. A link standing at the
    // backup's name gives way to the backup itself; whatever it pointed to stays as it was.
    // A preview writes nothing and shows the very bytes the save then writes.
    void backupBesideTheExactName_data()
    {
        QTest::addColumn<BackupName>("row");
        const QByteArray saved = "<html>\n<HEAD>\n<META name=\"keywords\" content=\"new\">\n<META name=\"distribution\" "
                                 "content=\"global\">\n<META name=\"FORMATTER\" content=\"Tagsmith LITE 2.01a\">\n</HEAD>\n";
        QTest::newRow("crlf page, new keywords") << BackupName { "index.html", "index.bak", "notes.txt", "", kPage, true };
        QTest::newRow("page already saved with these values")
            << BackupName { "index.html", "index.bak", "notes.txt", "", saved, false };
        QTest::newRow("ending in blanks, no dot") << BackupName { "page  ", "page  .bak", "page", "", kPage, true };
        QTest::newRow("holding a line end") << BackupName { "two\nlines.html", "two\nlines.bak", "two", "", kPage, true };
        QTest::newRow("wrapped in quotes") << BackupName { "\"page.html\"", "\"page.bak", "page.html", "", kPage, true };
        QTest::newRow("quotes inside") << BackupName { "it's \"new\".html", "it's \"new\".bak", "its new.html", "", kPage, true };
        QTest::newRow("hidden, beside another hidden page")
            << BackupName { ".old.html", ".old.bak", ".draft.html", "", kPage, true };
        QTest::newRow("link to another file") << BackupName { "index.html", "index.bak", "notes.txt", "notes.txt", kPage, true };
        QTest::newRow("link to a folder") << BackupName { "index.html", "index.bak", "notes.txt", "keep", kPage, true };
        QTest::newRow("dangling link") << BackupName { "index.html", "index.bak", "notes.txt", "gone.txt", kPage, true };
        QTest::newRow("link to the page itself")
            << BackupName { "index.html", "index.bak", "notes.txt", "index.html", kPage, true };
    }
    void backupBesideTheExactName()
    {
        QFETCH(BackupName, row);
        const auto [name, backupName, lookalike, linkedTo, page, changed] = row;
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString other = home.write(QStringLiteral("www/") + lookalike, kPage);
        home.write(QStringLiteral("www/keep/inside.txt"), "inside\n");
        const QString path = home.write(QStringLiteral("www/") + name, page);
        QVERIFY(!path.isEmpty());
        const QString backupPath = folder + QLatin1Char('/') + backupName;
        if (!linkedTo.isEmpty())
            QVERIFY(QFile::link(folder + QLatin1Char('/') + linkedTo, backupPath));
        QStringList names = listing(folder);
        const QStringList before = names;
        names.removeOne(backupName);
        names = sorted(names << backupName);
        const DocumentSaver::Request request = saveOf(path);
        const DocumentSaver::Preview preview = DocumentSaver::preview(request);
        QVERIFY2(preview.result.ok, qPrintable(preview.result.error));
        QCOMPARE(preview.result.backupPath, backupPath);
        QCOMPARE(preview.result.changed, changed);
        QCOMPARE(preview.before, page);
        QCOMPARE(listing(folder), before);

        const auto result = DocumentSaver::save(request);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.code, SaveError::None);
        QCOMPARE(result.backupPath, backupPath);
        QCOMPARE(result.changed, changed);
        QCOMPARE(result.written, preview.after);
        QVERIFY(result.stamp == FileStamp::of(path));
        QVERIFY(!QFileInfo(backupPath).isSymLink() && QFileInfo(backupPath).isFile());
        QCOMPARE(readFile(backupPath), page);
        QCOMPARE(readFile(path), preview.after);
        QVERIFY(preview.after.contains("content=\"new\""));
        QCOMPARE(preview.after != page, changed);
        QCOMPARE(readFile(other), kPage);
        QCOMPARE(listing(folder + QStringLiteral("/keep")), QStringList { "inside.txt" });
        QCOMPARE(listing(folder), names);
    }

    // A disk that fills up part way: the page is either as it was or fully saved, and a
    // backup, where one was written, is whole. In place the room is claimed before the page
    // changes; without a way to claim it, the growth is written first and undone.
    void fullDiskLeavesPageWholeOrSaved_data()
    {
        QTest::addColumn<DiskRoom>("row");
        const QByteArray shrinking = QByteArray(kPage).replace("old", QByteArray(400, 'o'));
        QTest::newRow("replaced, disk full") << DiskRoom { kPage, 1, true, -1, true, false };
        QTest::newRow("replaced, one byte short") << DiskRoom { kPage, 1, true, 1, true, false };
        QTest::newRow("replaced, room enough") << DiskRoom { kPage, 1, true, 0, true, true };
        QTest::newRow("in place, disk full") << DiskRoom { kPage, 2, true, -1, true, false };
        QTest::newRow("in place, backup fits, page one byte short") << DiskRoom { kPage, 2, true, 1, true, false };
        QTest::newRow("in place, no reservations, one byte short") << DiskRoom { kPage, 2, false, 1, false, false };
        QTest::newRow("in place, room enough") << DiskRoom { kPage, 2, true, 0, true, true };
        QTest::newRow("in place, shrinking page, disk full") << DiskRoom { shrinking, 2, false, -1, true, true };
    }
    void fullDiskLeavesPageWholeOrSaved()
    {
        QFETCH(DiskRoom, row);
        const auto [page, links, backup, shortBy, reservations, saved] = row;
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), page);
        const QString secondName = folder + QStringLiteral("/second.html");
        if (links == 2)
            QVERIFY(hardLink(path, secondName));
        const QStringList before = listing(folder);
        const struct stat statusBefore = statOf(path);
        const DocumentSaver::Request request = saveOf(path, backup);
        const QByteArray expected = DocumentSaver::preview(request).after;
        const qint64 pageRoom = links == 1 ? expected.size() : std::max<qint64>(0, expected.size() - page.size());
        const qint64 room = (backup ? page.size() : 0) + pageRoom;
        FullDisk disk(shortBy < 0 ? 0 : room - shortBy, reservations);

        const auto result = DocumentSaver::save(request, disk);
        QCOMPARE(result.ok, saved);
        QCOMPARE(result.code, saved ? SaveError::None : SaveError::WriteFailed);
        QCOMPARE(result.changed, saved);
        QCOMPARE(result.written, saved ? expected : QByteArray());
        QCOMPARE(result.stamp.exists, saved);
        if (!saved)
            QVERIFY2(result.error.contains("No space left on device"), qPrintable(result.error));
        QCOMPARE(readFile(path), saved ? expected : page);
        // Claimed room makes a full disk fail before the page is touched at all.
        if (reservations && !saved)
            QCOMPARE(disk.bytesWrittenTo(statusBefore.st_ino), 0);
        QCOMPARE(statOf(path).st_nlink, statusBefore.st_nlink);
        if (links == 2)
            QCOMPARE(statOf(secondName).st_ino, statOf(path).st_ino);
        const QString backupPath = folder + QStringLiteral("/index.bak");
        const bool backupWritten = QFileInfo::exists(backupPath);
        QCOMPARE(result.backupPath, backupWritten ? backupPath : QString());
        QVERIFY(!backupWritten || readFile(backupPath) == page);
        QVERIFY(backup || !backupWritten);
        QCOMPARE(listing(folder), backupWritten ? sorted(QStringList(before) << "index.bak") : before);
    }

    // Whichever call of a save fails, the save says so and leaves no temporary file. A page
    // replaced through a new file is as it was, unless all that failed was the folder's
    // sync after the new page took its name; a page rewritten in place may be cut short
    // only with its backup whole beside it. A backup that took its name is reported.
    void anyFailingCallLeavesThePageWhole_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("links");
        QTest::addColumn<bool>("backup");
        const QByteArray shrinking = QByteArray(kPage).replace("old", QByteArray(400, 'o'));
        const QByteArray longTail = QByteArray(kPage) + QByteArray(3 * 1024 * 1024, '\n');
        QTest::newRow("replaced, backup due") << kPage << 1 << true;
        QTest::newRow("replaced, no backup") << kPage << 1 << false;
        QTest::newRow("replaced, a long tail") << longTail << 1 << true;
        QTest::newRow("in place, growing, backup due") << kPage << 2 << true;
        QTest::newRow("in place, shrinking, backup due") << shrinking << 2 << true;
    }
    void anyFailingCallLeavesThePageWhole()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, links);
        QFETCH(bool, backup);
        bool saved = false;
        for (int failing = 1; !saved && failing < 50; ++failing) {
            TestHome home;
            const QString folder = home.path() + QStringLiteral("/www");
            const QString path = home.write(QStringLiteral("www/index.html"), page);
            if (links == 2)
                QVERIFY(hardLink(path, folder + QStringLiteral("/second.html")));
            const QStringList before = listing(folder);
            const DocumentSaver::Request request = saveOf(path, backup);
            const QByteArray expected = DocumentSaver::preview(request).after;
            FailingCall disk(failing);
            const DocumentSaver::Result result = DocumentSaver::save(request, disk);
            saved = !disk.failed();
            const QByteArray now = readFile(path);
            const QString backupPath = folder + QStringLiteral("/index.bak");
            const bool backupWritten = QFileInfo::exists(backupPath);
            const QString where = QStringLiteral("call %1 failing: %2").arg(failing).arg(fieldsOf(result));
            QVERIFY2(result.ok == saved, qPrintable(where));
            QVERIFY2(saved || (result.code == SaveError::WriteFailed && result.error.contains("Input/output error")),
                qPrintable(where));
            if (saved || (links == 1 && disk.failedOnFolder() && now == expected))
                QVERIFY2(now == expected, qPrintable(where));
            else if (links == 1 || !backupWritten)
                QVERIFY2(now == page, qPrintable(where));
            QVERIFY2(!backupWritten || readFile(backupPath) == page, qPrintable(where));
            QVERIFY2(result.backupPath == (backupWritten ? backupPath : QString()), qPrintable(where));
            QVERIFY2(listing(folder) == (backupWritten ? sorted(QStringList(before) << "index.bak") : before),
                qPrintable(where));
        }
        QVERIFY(saved);
    }

    // A program out of file descriptors saves nothing and says why: the page cannot be read
    // again, nor its new file or its backup made, nor the page opened to rewrite in place.
    void descriptorsRunningOutChangeNothing_data()
    {
        QTest::addColumn<Descriptors>("row");
        QTest::newRow("none to read the page again")
            << Descriptors { 0, false, 1, SaveError::SourceUnreadable, "index.html: Too many open files" };
        QTest::newRow("none for the new page")
            << Descriptors { 0, true, 1, SaveError::WriteFailed, "<folder>: Too many open files" };
        QTest::newRow("one for the new page, none for the backup")
            << Descriptors { 1, true, 1, SaveError::WriteFailed, "<folder>: Too many open files" };
        QTest::newRow("none to open the page in place")
            << Descriptors { 0, true, 2, SaveError::WriteFailed, "index.html: Too many open files" };
    }
    void descriptorsRunningOutChangeNothing()
    {
        QFETCH(Descriptors, row);
        auto [more, bytesHeld, links, code, reason] = row;
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kPage);
        if (links == 2)
            QVERIFY(hardLink(path, folder + QStringLiteral("/second.html")));
        reason.replace(QStringLiteral("<folder>"), folder);
        DocumentSaver::Request request = saveOf(path);
        if (bytesHeld)
            request.sourceBytes = kPage;
        const QStringList before = listing(folder);
        DocumentSaver::Result result;
        {
            const DescriptorLimit limit(more);
            result = DocumentSaver::save(request);
        }
        QVERIFY2(fieldsOf(result).startsWith(QStringLiteral("ok=0 changed=0 backup= code=%1 error=").arg(int(code)))
                && result.error.endsWith(reason),
            qPrintable(fieldsOf(result)));
        QCOMPARE(listing(folder), before);
        QCOMPARE(readFile(path), kPage);
    }

    // A link whose page is not there yet is saved through: the page is made where the
    // link points, and the link stays.
    void linkToAPageNotYetThere()
    {
        TestHome home;
        const QString folder = home.path() + QStringLiteral("/www");
        const QString path = home.write(QStringLiteral("www/index.html"), kPage);
        const QString link = folder + QStringLiteral("/link.html");
        QVERIFY(QFile::link(QStringLiteral("new.html"), link));
        DocumentSaver::Request request = saveOf(path, false, link);
        const DocumentSaver::Result result = DocumentSaver::save(request);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(folder + QStringLiteral("/new.html")), result.written);
        QVERIFY(result.written.contains("content=\"new\""));
        QCOMPARE(readFile(path), kPage);
        QCOMPARE(listing(folder), QStringList({ "index.html", "link.html", "new.html" }));
    }
};

QTEST_APPLESS_MAIN(TestDocumentSaver)
#include "test_document_saver.moc"
