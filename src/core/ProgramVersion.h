#pragma once

#include <QString>

// The program-wide version values, built from the version record.
class ProgramVersion
{
public:
    // Major ".0" minor "a": 2.1 gives "2.01a".
    static QString versionText(int major, int minor);
    // The revision, left-padded with zeros to four digits; longer revisions stay whole.
    static QString buildText(int revision);

    // The values of this build.
    static QString version();
    static QString build();
    static QString company();
};
