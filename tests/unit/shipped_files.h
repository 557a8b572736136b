// Checks of the files that go out with the program (the sample settings file
// and the user guide), shared by the unit tests, which look at the sources,
// and by the package test, which looks at what the zip holds.
#pragma once

#include <string>
#include <vector>

namespace quandrel::shipped {

// The whole file, or nothing when it can't be read.
std::string ReadBytes(const std::string& path);

// UTF-8 text as CP932 bytes, the code page of every text the program shows.
std::string Utf8ToCp932(const std::string& utf8);

// The texts of the first cells of the guide's message table (the table with
// id="message-table"), tags dropped and entities decoded, as CP932 bytes.
std::vector<std::string> GuideMessageCells(const std::string& guideHtml);

// Whether one of the cells shows the message: every fixed part of it ("%s"
// marks the changing ones) appears there in order; blanks and line ends
// don't count, so the guide may lay the text out as it likes.
bool CellsShowMessage(const std::vector<std::string>& cells, const std::string& message);

// The values of every attribute of that name (id, href, ...), in order.
std::vector<std::string> AttributeValues(const std::string& html, const std::string& attribute);

// The pictures the guide names as images/NAME.png.
std::vector<std::string> GuidePictures(const std::string& guideHtml);

}  // namespace quandrel::shipped
