#include "ProgramVersion.h"

#include "BuildInfo.h"

QString ProgramVersion::versionText(int major, int minor)
{
    return QString::number(major) + QStringLiteral(".0") + QString::number(minor) + QLatin1Char('a');
}

QString ProgramVersion::buildText(int revision)
{
    return QString::number(revision).rightJustified(4, QLatin1Char('0'));
}

QString ProgramVersion::version()
{
    return versionText(BuildInfo::kMajor, BuildInfo::kMinor);
}

QString ProgramVersion::build()
{
    return buildText(BuildInfo::kRevision);
}

QString ProgramVersion::company()
{
    return QString::fromLatin1(BuildInfo::kCompany);
}
