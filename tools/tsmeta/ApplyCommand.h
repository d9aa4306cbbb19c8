#pragma once

#include <QJsonObject>
#include <QStringList>

#include "MetaEdit.h"

class QTextStream;

// "tsmeta apply": opens each file as the editor does, sets the given values and saves it
// as the editor does, backup included. One JSON object per file, one per line. A dry run
// works out the same save and writes nothing; its diff form prints what would change.
// "-" is standard input: a save then writes the page to standard output, and it must be
// the only path; a dry run takes it as any file, without a backup.
class ApplyCommand
{
public:
    enum class Mode { Save, DryRun, Diff };

    struct Outcome
    {
        bool allOk = true; // every file was saved (or, in a dry run, could be)
        bool anyChanged = false; // in a dry run: some page's bytes would change
    };

    // A page and the values to set in it.
    struct Page
    {
        QString path;
        MetaEdit edit;
    };

    static QJsonObject applyTo(const QString &path, const MetaEdit &edit, bool backup);
    static QJsonObject dryRunOf(const QString &path, const MetaEdit &edit, bool backup);
    // The unified diff of the save, empty when it would change nothing; false with the
    // reason when the file cannot be saved.
    static bool diffOf(
        const QString &path, const MetaEdit &edit, bool backup, QByteArray &diff, QString &error);

    // The same values in every file.
    static Outcome run(const QStringList &paths, const MetaEdit &edit, bool backup, Mode mode,
        QTextStream &out, QTextStream &err);
    static Outcome run(const QList<Page> &pages, bool backup, Mode mode, QTextStream &out, QTextStream &err);
};
