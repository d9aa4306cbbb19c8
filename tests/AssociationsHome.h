#pragma once

#include "TestHome.h"

#include "FileAssociations.h"

// A home of the test's own, and the file associations of a program installed in a folder
// whose name has a blank, with its desktop entries in that home.
struct AssociationsHome
{
    inline static const QString kProgramFolder = QStringLiteral("/opt/tag smith/bin");

    TestHome home;
    FileAssociations associations { kProgramFolder, home.path() + QStringLiteral("/applications") };
};
