#pragma once
// The date a run is made on, for the documents it writes.

namespace dovrek {

struct CalendarDate {
  int year;
  int month;  // 1 to 12
  int day;    // 1 to 31
};

// Today in the local time zone; or, when the environment sets SOURCE_DATE_EPOCH to a count of
// seconds since 1970, that moment's date in UTC (the reproducible-builds convention), so that
// two runs over the same project give the same document. A value that is no such count is
// ignored.
CalendarDate RunDate();

}  // namespace dovrek
