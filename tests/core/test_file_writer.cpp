#include "TestHome.h"

#include "FileWriter.h"

#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor of one kind, closed when it goes.
class Descriptor
{
public:
    Descriptor(const QString &kind, const QString &folder)
    {
        if (kind == QLatin1String("pipe")) {
            int ends[2];
            if (::pipe(ends) == 0) {
                ::close(ends[0]);
                m_fd = ends[1];
            }
        } else if (kind == QLatin1String("read-only file")) {
            m_fd = ::open(QFile::encodeName(folder + QStringLiteral("/page.html")).constData(), O_RDONLY | O_CREAT, 0644);
        } else if (kind == QLatin1String("file")) {
            m_fd = ::open(QFile::encodeName(folder + QStringLiteral("/page.html")).constData(), O_RDWR | O_CREAT, 0644);
        } else if (kind == QLatin1String("closed")) {
            m_fd = ::open("/dev/null", O_RDONLY);
            ::close(m_fd);
        } else {
            m_fd = ::open(QFile::encodeName(kind).constData(), O_WRONLY);
        }
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

struct stat statusOf(int fd)
{
    struct stat status = {};
    ::fstat(fd, &status);
    return status;
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A call that cannot be done says why, by its errno, so that a save can tell the user.
    void refusalsAreTold_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("error");
        QTest::newRow("write to a full device") << "/dev/full" << "write" << ENOSPC;
        QTest::newRow("claim room on a device") << "/dev/full" << "reserve" << ENODEV;
        QTest::newRow("cut a device short") << "/dev/full" << "truncate" << EINVAL;
        QTest::newRow("sync a device") << "/dev/full" << "sync" << EINVAL;
        QTest::newRow("write to a file open for reading") << "read-only file" << "write" << EBADF;
        QTest::newRow("claim room in a file open for reading") << "read-only file" << "reserve" << EBADF;
        QTest::newRow("cut a file open for reading") << "read-only file" << "truncate" << EINVAL;
        QTest::newRow("write into a pipe at an offset") << "pipe" << "write" << ESPIPE;
        QTest::newRow("claim room in a pipe") << "pipe" << "reserve" << ESPIPE;
        QTest::newRow("sync a closed descriptor") << "closed" << "sync" << EBADF;
        QTest::newRow("cut a closed descriptor") << "closed" << "truncate" << EBADF;
    }
    void refusalsAreTold()
    {
        QFETCH(QString, kind);
        QFETCH(QString, call);
        QFETCH(int, error);
        TestHome home;
        const Descriptor descriptor(kind, home.path());
        QVERIFY(kind == QLatin1String("closed") || descriptor.fd() >= 0);
        FileWriter writer;
        int told = 0;
        if (call == QLatin1String("write"))
            told = writer.writeAt(descriptor.fd(), 0, "<head>");
        else if (call == QLatin1String("reserve"))
            told = writer.reserve(descriptor.fd(), 4096);
        else if (call == QLatin1String("truncate"))
            told = writer.truncate(descriptor.fd(), 0);
        else
            told = writer.sync(descriptor.fd());
        QCOMPARE(qt_error_string(told), qt_error_string(error));
    }

    // Room is claimed without the file growing, and claiming none is no error; bytes land
    // at their offset however many pieces they take, and a cut file ends where it is cut.
    void filesComeOutAsWritten_data()
    {
        QTest::addColumn<qint64>("reserved");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<int>("length");
        QTest::addColumn<qint64>("cutTo"); // -1: not cut
        QTest::newRow("nothing claimed, nothing written") << qint64(0) << qint64(0) << 0 << qint64(-1);
        QTest::newRow("room for a page, nothing written") << qint64(3 << 20) << qint64(0) << 0 << qint64(-1);
        QTest::newRow("a small page") << qint64(0) << qint64(0) << 300 << qint64(-1);
        QTest::newRow("a page of several pieces, past a gap")
            << qint64(4 << 20) << qint64(5) << (2 << 20) + 3 << qint64(-1);
        QTest::newRow("a page cut shorter") << qint64(0) << qint64(0) << 5000 << qint64(1200);
        QTest::newRow("a page cut longer") << qint64(0) << qint64(0) << 10 << qint64(16);
    }
    void filesComeOutAsWritten()
    {
        QFETCH(qint64, reserved);
        QFETCH(qint64, offset);
        QFETCH(int, length);
        QFETCH(qint64, cutTo);
        TestHome home;
        const Descriptor file(QStringLiteral("file"), home.path());
        QVERIFY(file.fd() >= 0);
        std::string bytes(std::size_t(length), '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char('a' + i % 26);
        FileWriter writer;
        QCOMPARE(writer.reserve(file.fd(), reserved), 0);
        QCOMPARE(statusOf(file.fd()).st_size, 0);
        QVERIFY(qint64(statusOf(file.fd()).st_blocks) * 512 >= reserved);
        QCOMPARE(writer.writeAt(file.fd(), offset, bytes), 0);
        QByteArray expected = QByteArray(offset, '\0') + QByteArray::fromStdString(bytes);
        if (length == 0)
            expected.clear();
        if (cutTo >= 0) {
            QCOMPARE(writer.truncate(file.fd(), cutTo), 0);
            expected = expected.leftJustified(cutTo, '\0', true);
        }
        QCOMPARE(writer.sync(file.fd()), 0);
        QCOMPARE(readFile(home.path() + QStringLiteral("/page.html")), expected);
    }
};

QTEST_APPLESS_MAIN(TestFileWriter)
#include "test_file_writer.moc"
