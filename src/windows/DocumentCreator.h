#pragma once

#include <QString>

// Creates the file of a new document before its first save: a small page whose HEAD
// begins with an exact <head> start tag, so that the save puts the tags right there.
class DocumentCreator
{
public:
    struct Result
    {
        bool ok = false;
        QString error; // the reason, when not ok
    };

    // One line naming the component, as the About box lists it.
    static QString description();
    static QByteArray pageText(const QString &generatorText);
    // Replaces any file at path, in one step.
    static Result createDocument(const QString &path, const QString &generatorText);
};
