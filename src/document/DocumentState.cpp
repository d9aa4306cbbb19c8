#include "document/DocumentState.h"

#include "resources/ResourceText.h"
#include "resources/StringTable.h"

bool DocumentState::prepareSave(const QString &filePath)
{
    IsNewDocument = filePath == ResourceText::get(StringId::NoFile);
    if (!IsNewDocument) {
        SourcePath = filePath;
        TargetPath = filePath;
    }
    return IsNewDocument;
}
