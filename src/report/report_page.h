// The furniture of the report's page: the document head with its inline
// style, the filter box and the closing inline script that filters and
// sorts the tables. The page reads the same without the script.
#ifndef KINWEAVE_REPORT_REPORT_PAGE_H_
#define KINWEAVE_REPORT_REPORT_PAGE_H_

#include <string>
#include <string_view>

namespace kw {

// "<!DOCTYPE html>" up to the opening body tag; `title` is escaped.
void AppendPageStart(std::string_view title, std::string& out);

// The filter box over the tables ("Name oder Jahr"), hidden until the
// script shows it.
void AppendFilterBox(std::string& out);

// The script and the closing tags.
void AppendPageEnd(std::string& out);

}  // namespace kw

#endif  // KINWEAVE_REPORT_REPORT_PAGE_H_
