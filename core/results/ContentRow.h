#pragma once
// The rows of the content list beside the result tree (a folder's subfolders
// and files), their date and time texts, and the count line.

#include <cstdint>
#include <optional>
#include <string>

#include "FolderRecord.h"

namespace dravel::results {

// Calendar fields as stored: a FAT month of 0 stays 0 (shown as "ERR").
struct Timestamp {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

[[nodiscard]] Timestamp fromFatDateTime(std::uint16_t date, std::uint16_t time);
// 100-ns intervals since 1601-01-01, converted without a time zone (UTC).
[[nodiscard]] Timestamp fromFileTime(std::uint64_t fileTime);
[[nodiscard]] Timestamp todayLocal();

// "07-MAR-2013" ("ERR" for a month out of range) and "HH:MM:SS".
[[nodiscard]] std::string formatListDate(const Timestamp& t);
[[nodiscard]] std::string formatListTime(const Timestamp& t);
// "07-Mar-2013": the orphan folder's row shows today's date this way.
[[nodiscard]] std::string formatAbbreviatedDate(const Timestamp& t);
// "2013-03-07" and "HH:MM:SS" for the command line.
[[nodiscard]] std::string formatIsoDate(const Timestamp& t);

struct ContentRow {
  bool folder = false;
  std::string name;
  std::string type;            // file type description, or "FOLDER"
  std::uint64_t size = 0;
  Timestamp when;
  bool orphanFolder = false;   // shows today's date in the abbreviated form
  bool deleted = false;
  std::uint64_t id = 0;        // first cluster, MFT record number, or folder SelfId
  // The hidden columns.
  std::uint64_t debugSelf = 0;                 // first cluster; NTFS record sector; folder SelfId
  std::optional<std::uint64_t> debugParent;    // NTFS parent; folder ParentId
  std::optional<std::uint64_t> debugTreeItem;  // folder node; "0" for NTFS files
  std::string shortName;                       // FAT 8.3 name ("_" for a deleted first byte)
  NodeId node = kNoNode;                       // the folder's tree node
};

[[nodiscard]] std::string rowDateText(const ContentRow& row);
[[nodiscard]] std::string rowTimeText(const ContentRow& row);

[[nodiscard]] std::string countLine(std::uint64_t folders, std::uint64_t files);

}  // namespace dravel::results
