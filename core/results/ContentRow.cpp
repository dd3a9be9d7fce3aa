#include "ContentRow.h"

#include <chrono>
#include <ctime>

#include "common/Text.h"

namespace dravel::results {

namespace {

const char* monthName(int month, bool capitals) {
  static const char* const kUpper[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  static const char* const kMixed[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) return "ERR";
  return capitals ? kUpper[month - 1] : kMixed[month - 1];
}

}  // namespace

Timestamp fromFatDateTime(std::uint16_t date, std::uint16_t time) {
  Timestamp t;
  t.year = 1980 + (date >> 9);
  t.month = (date >> 5) & 0x0F;
  t.day = date & 0x1F;
  t.hour = time >> 11;
  t.minute = (time >> 5) & 0x3F;
  t.second = (time & 0x1F) * 2;
  return t;
}

Timestamp fromFileTime(std::uint64_t fileTime) {
  // Days from 1601-01-01 to 1970-01-01.
  constexpr std::int64_t kEpochDays = 134774;
  const std::uint64_t seconds = fileTime / 10000000ULL;
  const auto days = static_cast<std::int64_t>(seconds / 86400) - kEpochDays;
  const auto secondOfDay = static_cast<int>(seconds % 86400);
  const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{days}}};
  Timestamp t;
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.hour = secondOfDay / 3600;
  t.minute = secondOfDay / 60 % 60;
  t.second = secondOfDay % 60;
  return t;
}

Timestamp todayLocal() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Timestamp{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string formatListDate(const Timestamp& t) {
  return strprintf("%02d-%s-%04d", t.day, monthName(t.month, true), t.year);
}

std::string formatListTime(const Timestamp& t) { return strprintf("%02d:%02d:%02d", t.hour, t.minute, t.second); }

std::string formatAbbreviatedDate(const Timestamp& t) {
  return strprintf("%02d-%s-%04d", t.day, monthName(t.month, false), t.year);
}

std::string formatIsoDate(const Timestamp& t) { return strprintf("%04d-%02d-%02d", t.year, t.month, t.day); }

std::string rowDateText(const ContentRow& row) {
  return row.orphanFolder ? formatAbbreviatedDate(todayLocal()) : formatListDate(row.when);
}

std::string rowTimeText(const ContentRow& row) { return formatListTime(row.when); }

std::string countLine(std::uint64_t folders, std::uint64_t files) {
  return strprintf("%llu Folders, %llu Files", static_cast<unsigned long long>(folders),
                   static_cast<unsigned long long>(files));
}

}  // namespace dravel::results
