#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "signature/FileTypes.h"

namespace dravel::signature {
namespace {

struct TypeRow {
  const char* description;
  std::vector<const char*> spellings;
};

// The type table, written out again independently of the implementation.
const std::vector<TypeRow>& table() {
  static const std::vector<TypeRow> rows{
      {"Microsoft Word File", {".DOC", ".doc", ".docx", ".DOCX"}},
      {"Microsoft Power Point File", {".PPT", ".PPTX", ".pptx", ".PPSX", ".ppsx", ".PPS", ".pps"}},
      {"Microsoft Excel File", {".XLS", ".xls", ".XLSX", ".xlsx"}},
      {"Icon file", {".ICO", ".ico"}},
      {"PDF file", {".PDF", ".pdf"}},
      {"Executable file", {".EXE", ".exe", ".bat", ".BAT", ".com", ".COM"}},
      {"Font file", {".TTF", ".ttf", ".FON", ".fon", ".FNT", ".fnt", ".OTF", ".otf"}},
      {"Image File", {".PS",  ".ps",  ".AI",  ".ai",  ".BMP", ".bmp", ".GIF", ".gif", ".PNG",  ".png",  ".PSD", ".psd",
                      ".PSP", ".psp", ".THM", ".thm", ".TIF", ".tif", ".DRW", ".drw", ".DXF",  ".dxf",  ".EPS", ".eps",
                      ".SVG", ".svg", ".JPG", ".jpg", ".MNG", ".mng", ".PCT", ".pct", ".JPEG", ".jpeg"}},
      {"Winzip File", {".ZIP", ".zip", ".RAR", ".rar", ".7Z", ".7z", ".DEB", ".deb", ".GZ", ".gz", ".PKG", ".pkg",
                       ".SEA", ".sea", ".SIT", ".sit", ".SITX", ".sitx"}},
      {"Web file", {".htm", ".HTM", ".HTML", ".html", ".ASP", ".asp", ".ASPX", ".aspx", ".CSS", ".css", ".JS", ".js",
                    ".JSP", ".jsp", ".PHP", ".php", ".XHTML", ".xhtml"}},
      {"Help File", {".chm", ".CHM"}},
      {"Registry file", {".REG", ".reg"}},
      {"Sound file", {".WAV", ".wav", ".AU", ".au", ".MP3", ".mp3", ".M4A",  ".m4a",  ".MID", ".mid",
                      ".MIDI", ".midi", ".MPA", ".mpa", ".WMA", ".wma", ".AMR", ".amr", ".RA", ".ra",
                      ".RAM", ".ram", ".M3U", ".m3u", ".IFF", ".iff", ".AIF", ".aif", ".AAC", ".aac"}},
      {"Video File", {".AVI", ".avi", ".MOV", ".mov", ".MKV", ".mkv", ".FLV", ".flv", ".ASX", ".asx",
                      ".ASF", ".asf", ".3GP", ".3gp", ".3G2", ".3g2", ".MP4", ".mp4", ".MPG", ".mpg",
                      ".SWF", ".swf", ".VOB", ".vob", ".WMV", ".wmv", ".QT",  ".qt",  ".RM",  ".rm"}},
      {"C++ file", {".CPP", ".cpp", ".C", ".c"}},
      {"Backup File", {".BAK", ".bak", ".BUP", ".bup", ".GHO", ".gho", ".OLD", ".old", ".ORI", ".ori"}},
      {"Scripting File", {".VB", ".vb", ".WS", ".ws"}},
      {"System File", {".LNK", ".lnk", ".SYS", ".sys"}},
      {"Disk File", {".ISO", ".iso", ".VCD", ".vcd"}},
      {"Database File", {".MDBX", ".mdbx", ".SQL", ".sql", ".MDB", ".mdb", ".DB", ".db"}},
      {"Java Source Code File", {".JAVA", ".java"}},
      {"Program Information File", {".PIF", ".pif"}},
      {"BitTorrent File", {".TORRENT", ".torrent"}},
      {"Perl Script File", {".PL", ".pl"}},
      {"Temporary File", {".TMP", ".tmp"}},
      {"Header file", {".H", ".h"}},
      {"Windows Installer Package File", {".MSI", ".msi"}},
      {"Rich Text Format File", {".RTF", ".rtf"}},
      {"Mail Message File", {".MSG", ".msg"}},
      {"Comma Separated Values File", {".CSV", ".csv"}},
      {"Data File", {".DAT", ".dat"}},
      {"Dynamic Link Library File", {".DLL", ".dll"}},
      {"XML File", {".XML", ".xml"}},
      {"Microsoft Works Spreadsheet File", {".WKS", ".wks"}},
      {"Text file", {".TXT", ".txt", ".LOG", ".log"}},
      {"vCard File", {".vcf", ".VCF"}},
      {"Contact File", {".contact", ".CONTACT"}},
  };
  return rows;
}

TEST(FileTypes, TableHasThirtySevenRows) { EXPECT_EQ(table().size(), 37u); }

// Every listed spelling, on a name that ends with it, gives its row's text.
TEST(FileTypes, EverySpellingGivesItsRowsDescription) {
  for (const auto& row : table()) {
    for (const char* spelling : row.spellings) {
      const std::string name = std::string("Report 2024") + spelling;
      EXPECT_EQ(fileTypeDescription(spelling, name), row.description) << spelling;
      EXPECT_EQ(fileTypeDescription(extensionOf(name), name), row.description) << name;
    }
  }
}

struct DescriptionCase {
  const char* extension;
  const char* name;
  const char* description;
};

class FileTypeCases : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(FileTypeCases, GivesTheTypeText) {
  EXPECT_EQ(fileTypeDescription(GetParam().extension, GetParam().name), GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    TypeTable, FileTypeCases,
    ::testing::Values(
        // No extension, or only blanks.
        DescriptionCase{"", "README", "File"}, DescriptionCase{"   ", "README", "File"},
        DescriptionCase{"\t", "x", "File"},
        // Spellings compare with case: mixed case is unknown and upper-cased.
        DescriptionCase{".docx", "a.docx", "Microsoft Word File"},
        DescriptionCase{".Docx", "a.Docx", "DOCX File"}, DescriptionCase{".Doc", "a.Doc", "DOC File"},
        DescriptionCase{".jpeg", "p.jpeg", "Image File"}, DescriptionCase{".JPEG", "p.JPEG", "Image File"},
        DescriptionCase{".Jpeg", "p.Jpeg", "JPEG File"}, DescriptionCase{".html", "i.html", "Web file"},
        DescriptionCase{".HTML", "i.HTML", "Web file"}, DescriptionCase{".bat", "r.bat", "Executable file"},
        DescriptionCase{".BAT", "r.BAT", "Executable file"}, DescriptionCase{".contact", "c.contact", "Contact File"},
        DescriptionCase{".Contact", "c.Contact", "CONTACT File"},
        // Unknown extensions.
        DescriptionCase{".xyz", "a.xyz", "XYZ File"}, DescriptionCase{".tar", "a.tar", "TAR File"},
        DescriptionCase{".MdB", "a.MdB", "MDB File"}, DescriptionCase{".", "a.", " File"},
        // Blanks around the extension are ignored.
        DescriptionCase{"  .pdf ", "a.pdf", "PDF file"}, DescriptionCase{" .xyz\t", "a.xyz", "XYZ File"},
        // Spellings read from the end of the name: the same for a name with
        // that extension; the name decides when the two disagree.
        DescriptionCase{".c", "main.c", "C++ file"}, DescriptionCase{".C", "MAIN.C", "C++ file"},
        DescriptionCase{".h", "x.h", "Header file"}, DescriptionCase{".H", "X.H", "Header file"},
        DescriptionCase{".ws", "s.ws", "Scripting File"}, DescriptionCase{".sys", "d.sys", "System File"},
        DescriptionCase{".SYS", "D.SYS", "System File"}, DescriptionCase{".mdbx", "d.mdbx", "Database File"},
        DescriptionCase{".bmp", "p.bmp", "Image File"}, DescriptionCase{".ttf", "f.ttf", "Font file"},
        DescriptionCase{".c", "", "C File"}, DescriptionCase{".txt", "main.c", "C++ file"},
        // Non-ASCII letters are kept as they are.
        DescriptionCase{".\xC3\xA9t\xC3\xA9", "x", "\xC3\xA9T\xC3\xA9 File"}));

struct ExtensionCase {
  const char* name;
  const char* extension;
};

class ExtensionOfCases : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionOfCases, FindsTheExtension) { EXPECT_EQ(extensionOf(GetParam().name), GetParam().extension); }

INSTANTIATE_TEST_SUITE_P(
    PathFindExtension, ExtensionOfCases,
    ::testing::Values(ExtensionCase{"", ""}, ExtensionCase{"README", ""}, ExtensionCase{"a.txt", ".txt"},
                      ExtensionCase{"archive.tar.gz", ".gz"}, ExtensionCase{".profile", ".profile"},
                      ExtensionCase{"name.", "."}, ExtensionCase{"dir.d\\file", ""},
                      ExtensionCase{"dir.d/file", ""}, ExtensionCase{"C:\\dir.d\\file.DOC", ".DOC"},
                      ExtensionCase{"my file.txt", ".txt"}, ExtensionCase{"notes.a b", ""},
                      ExtensionCase{"a.b\\", ""}));

}  // namespace
}  // namespace dravel::signature
