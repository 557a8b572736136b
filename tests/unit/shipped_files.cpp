#include "shipped_files.h"

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quandrel::shipped {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Utf8ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string in = utf8;
  std::string out(in.size() * 2 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) throw std::runtime_error("text not convertible to CP932");
  out.resize(out.size() - outLeft);
  return out;
}

namespace {

// Drops tags, decodes the few entities the guide uses and every blank and
// line end (ASCII only: in CP932 these bytes are never part of a
// double-byte character).
std::string PlainText(const std::string& html) {
  std::string text;
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] == '<') {
      const std::size_t end = html.find('>', i);
      i = end == std::string::npos ? html.size() : end + 1;
      continue;
    }
    if (html[i] == '&') {
      static const std::pair<const char*, char> kEntities[] = {
          {"&quot;", '"'}, {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&#39;", '\''}};
      bool decoded = false;
      for (const auto& [name, ch] : kEntities) {
        if (html.compare(i, std::char_traits<char>::length(name), name) == 0) {
          text += ch;
          i += std::char_traits<char>::length(name);
          decoded = true;
          break;
        }
      }
      if (decoded) continue;
    }
    const char c = html[i++];
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') text += c;
  }
  return text;
}

std::string WithoutBlanks(const std::string& bytes) {
  std::string out;
  for (char c : bytes)
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') out += c;
  return out;
}

}  // namespace

std::vector<std::string> GuideMessageCells(const std::string& guideHtml) {
  std::vector<std::string> cells;
  const std::size_t table = guideHtml.find("<table id=\"message-table\"");
  if (table == std::string::npos) return cells;
  const std::size_t tableEnd = guideHtml.find("</table>", table);
  for (std::size_t row = guideHtml.find("<tr", table); row < tableEnd; row = guideHtml.find("<tr", row + 1)) {
    const std::size_t cell = guideHtml.find("<td", row);
    const std::size_t nextRow = guideHtml.find("<tr", row + 1);
    if (cell == std::string::npos || cell > tableEnd || cell > nextRow) continue;  // a heading row
    const std::size_t open = guideHtml.find('>', cell) + 1;
    const std::size_t close = guideHtml.find("</td>", open);
    cells.push_back(Utf8ToCp932(PlainText(guideHtml.substr(open, close - open))));
  }
  return cells;
}

bool CellsShowMessage(const std::vector<std::string>& cells, const std::string& message) {
  std::vector<std::string> parts;
  const std::string bare = WithoutBlanks(message);
  for (std::size_t from = 0;;) {
    const std::size_t mark = bare.find("%s", from);
    const std::string part = bare.substr(from, mark == std::string::npos ? std::string::npos : mark - from);
    if (!part.empty()) parts.push_back(part);
    if (mark == std::string::npos) break;
    from = mark + 2;
  }
  for (const std::string& cell : cells) {
    std::size_t at = 0;
    bool all = true;
    for (const std::string& part : parts) {
      at = cell.find(part, at);
      if (at == std::string::npos) {
        all = false;
        break;
      }
      at += part.size();
    }
    if (all) return true;
  }
  return false;
}

std::vector<std::string> AttributeValues(const std::string& html, const std::string& attribute) {
  std::vector<std::string> values;
  const std::string lead = " " + attribute + "=\"";
  for (std::size_t at = html.find(lead); at != std::string::npos; at = html.find(lead, at + 1)) {
    const std::size_t start = at + lead.size();
    values.push_back(html.substr(start, html.find('"', start) - start));
  }
  return values;
}

std::vector<std::string> GuidePictures(const std::string& guideHtml) {
  std::vector<std::string> pictures;
  const std::string lead = "src=\"images/";
  for (std::size_t at = guideHtml.find(lead); at != std::string::npos; at = guideHtml.find(lead, at + 1)) {
    const std::size_t start = at + lead.size();
    pictures.push_back(guideHtml.substr(start, guideHtml.find('"', start) - start));
  }
  return pictures;
}

}  // namespace quandrel::shipped
