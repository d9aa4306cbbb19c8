#include "DocumentState.h"

#include "ResourceText.h"
#include "StringTable.h"

bool DocumentState::prepareSave(const QString &filePath)
{
    isNewDocument = filePath == ResourceText::get(StringId::NoFile);
    if (!isNewDocument) {
        sourcePath = filePath;
        targetPath = filePath;
    }
    return isNewDocument;
}
