#include "DocumentState.h"

#include "ResourceText.h"
#include "StringTable.h"

bool DocumentState::prepareSave(const QString &filePath)
{
    IsNewDocument = filePath == ResourceText::get(StringId::NoFile);
    if (!IsNewDocument) {
        SourcePath = filePath;
        TargetPath = filePath;
    }
    return IsNewDocument;
}
