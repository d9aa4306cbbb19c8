// A page saved from the bytes the editor holds, its file gone from disk, is the page the
// engine plans for those bytes and values; the save hands back exactly the bytes the file
// then holds and the file's stamp, and the file reads back as those bytes read in memory.
// The input is read as FuzzInput.h says; the values and flags vary with it.

#include "ByteView.h"
#include "DocumentFile.h"
#include "DocumentRewriter.h"
#include "DocumentSaver.h"
#include "FileStamp.h"
#include "FuzzInput.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void require(bool holds, const char *promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "a save from held bytes broke its promise: %s\n", promise);
    std::abort();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.html"));
    QFile::remove(path);
    const FuzzInput::Decoded input = FuzzInput::decode(data, size);
    const QString version = QStringLiteral("2.01a");
    DocumentSaver::Request request { path, path, path, input.values, version, false };
    request.sourceBytes = QByteArray(input.page.data(), static_cast<qsizetype>(input.page.size()));
    const DocumentSaver::Result saved = DocumentSaver::save(request);
    const std::optional<DocumentRewriter::Plan> plan
        = DocumentRewriter::planSave(input.page, input.values, version.toStdString());
    if (!plan) {
        require(
            !saved.ok && saved.code == DocumentSaver::SaveError::NoHead, "a page without HEAD is refused");
        require(!QFile::exists(path), "a refused page writes nothing");
        return 0;
    }
    require(saved.ok, "a page with a HEAD is saved");
    const QByteArray onDisk = fileBytes(path);
    require(onDisk == QByteArray::fromStdString(plan->joined(input.page)), "the file holds the planned page");
    require(saved.written == onDisk, "the bytes handed back are the file's");
    require(saved.stamp == FileStamp::of(path), "the stamp handed back is the file's");
    const DocumentFile::OpenResult read = DocumentFile::open(path, DocumentFile::Facts::Take);
    const DocumentFile::OpenResult held = DocumentFile::fromBytes(onDisk);
    require(read.ok == held.ok && read.code == held.code && read.document == held.document
            && read.facts == held.facts && read.bytes == held.bytes,
        "the file reads as its bytes read in memory");
    return 0;
}
