#include "FileTypes.h"

#include <array>
#include <vector>

#include "common/Text.h"

namespace dravel::signature {
namespace {

// A spelling with a leading '*' is matched against the end of the file name
// instead of the extension (the '*' itself is not part of the spelling).
struct FileTypeRow {
  const char* description;
  std::vector<std::string_view> spellings;
};

// The rows and their spellings, in the order they are tested.
const std::array<FileTypeRow, 37>& fileTypeTable() {
  static const std::array<FileTypeRow, 37> table{{
      {"Microsoft Word File", {".DOC", ".doc", ".docx", ".DOCX"}},
      {"Microsoft Power Point File", {".PPT", ".PPTX", ".pptx", ".PPSX", ".ppsx", ".PPS", ".pps"}},
      {"Microsoft Excel File", {".XLS", ".xls", ".XLSX", ".xlsx"}},
      {"Icon file", {".ICO", ".ico"}},
      {"PDF file", {".PDF", ".pdf"}},
      {"Executable file", {".EXE", ".exe", ".bat", ".BAT", ".com", ".COM"}},
      {"Font file", {".TTF", "*.ttf", ".FON", ".fon", ".FNT", ".fnt", ".OTF", ".otf"}},
      {"Image File", {".PS",   ".ps",   ".AI",   ".ai",   ".BMP",  "*.bmp", ".GIF",  ".gif",  ".PNG",
                      ".png",  ".PSD",  ".psd",  ".PSP",  ".psp",  ".THM",  ".thm",  ".TIF",  ".tif",
                      ".DRW",  ".drw",  ".DXF",  ".dxf",  ".EPS",  ".eps",  ".SVG",  ".svg",  ".JPG",
                      ".jpg",  ".MNG",  ".mng",  ".PCT",  ".pct",  ".JPEG", ".jpeg"}},
      {"Winzip File", {".ZIP", ".zip", ".RAR", ".rar", ".7Z", ".7z", ".DEB", ".deb", ".GZ", ".gz", ".PKG",
                       ".pkg", ".SEA", ".sea", ".SIT", ".sit", ".SITX", ".sitx"}},
      {"Web file", {".htm", ".HTM", ".HTML", ".html", ".ASP", ".asp", ".ASPX", ".aspx", ".CSS", ".css", ".JS",
                    ".js", ".JSP", ".jsp", ".PHP", ".php", ".XHTML", ".xhtml"}},
      {"Help File", {".chm", ".CHM"}},
      {"Registry file", {".REG", ".reg"}},
      {"Sound file", {".WAV", ".wav", ".AU", ".au", ".MP3", ".mp3", ".M4A", ".m4a", ".MID", ".mid",
                      ".MIDI", ".midi", ".MPA", ".mpa", ".WMA", ".wma", ".AMR", ".amr", ".RA", ".ra",
                      ".RAM", ".ram", ".M3U", ".m3u", ".IFF", ".iff", ".AIF", ".aif", ".AAC", ".aac"}},
      {"Video File", {".AVI", ".avi", ".MOV", ".mov", ".MKV", ".mkv", ".FLV", ".flv", ".ASX", ".asx",
                      ".ASF", ".asf", ".3GP", ".3gp", ".3G2", ".3g2", ".MP4", ".mp4", ".MPG", ".mpg",
                      ".SWF", ".swf", ".VOB", ".vob", ".WMV", ".wmv", ".QT",  ".qt",  ".RM",  ".rm"}},
      {"C++ file", {".CPP", ".cpp", "*.C", "*.c"}},
      {"Backup File", {".BAK", ".bak", ".BUP", ".bup", ".GHO", ".gho", ".OLD", ".old", ".ORI", ".ori"}},
      {"Scripting File", {".VB", ".vb", "*.WS", "*.ws"}},
      {"System File", {".LNK", ".lnk", ".SYS", "*.sys"}},
      {"Disk File", {".ISO", ".iso", ".VCD", ".vcd"}},
      {"Database File", {".MDBX", "*.mdbx", ".SQL", ".sql", ".MDB", ".mdb", ".DB", ".db"}},
      {"Java Source Code File", {".JAVA", ".java"}},
      {"Program Information File", {".PIF", ".pif"}},
      {"BitTorrent File", {".TORRENT", ".torrent"}},
      {"Perl Script File", {".PL", ".pl"}},
      {"Temporary File", {".TMP", ".tmp"}},
      {"Header file", {".H", "*.h"}},
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
  }};
  return table;
}

bool matches(std::string_view spelling, std::string_view extension, std::string_view fileName) {
  if (spelling.front() == '*') return fileName.ends_with(spelling.substr(1));
  return extension == spelling;
}

}  // namespace

std::string fileTypeDescription(std::string_view extension, std::string_view fileName) {
  const auto trimmed = trimView(extension);
  if (trimmed.empty()) return "File";
  for (const auto& row : fileTypeTable())
    for (const auto spelling : row.spellings)
      if (matches(spelling, trimmed, fileName)) return row.description;
  return toUpperAscii(trimmed.substr(1)) + " File";
}

std::string extensionOf(std::string_view name) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '\\' || c == '/' || c == ' ')
      dot = std::string_view::npos;
    else if (c == '.')
      dot = i;
  }
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

}  // namespace dravel::signature
