#pragma once

#include <optional>
#include <string_view>

// The program's resource string table: every user-visible caption, tooltip, status text
// and prompt, by number (100 to 3003). Texts are UTF-8.
class StringTable
{
public:
    struct Entry
    {
        int id;
        std::string_view text;
    };

    // The text of id, or nothing for an id the table does not hold.
    static std::optional<std::string_view> find(int id);
    // The text of id, or the empty text for an id the table does not hold.
    static std::string_view text(int id);
    static const Entry *begin();
    static const Entry *end();
};

// Ids used by more than one part of the program.
namespace StringId {
inline constexpr int Description = 100;
inline constexpr int Keywords = 101;
inline constexpr int Author = 102;
inline constexpr int Robots = 103;
inline constexpr int NewDescription = 105;
inline constexpr int NoDescription = 106;
inline constexpr int NewKeywords = 107;
inline constexpr int NoKeywords = 108;
inline constexpr int AuthorPlaceholder = 109;
inline constexpr int NoAuthor = 110;
inline constexpr int NoFile = 111;
inline constexpr int SaveChangesPrompt = 112;
inline constexpr int NoHeadSection = 113;
inline constexpr int Open = 114;
inline constexpr int SaveAs = 115;
inline constexpr int Charset = 400;
inline constexpr int UseDefaultCharset = 401;
inline constexpr int NoDocumentOpen = 1000;
inline constexpr int OpeningDocument = 1001;
inline constexpr int DocumentOpened = 1002;
inline constexpr int DocumentSaved = 1003;
inline constexpr int RememberToSave = 1004;
} // namespace StringId
