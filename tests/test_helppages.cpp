// The help pages: simple HTML the toolkit's help viewer can show, links
// and anchors that lead somewhere, and a reference that names every menu
// item, button, key and keyword of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/langtest.h"

namespace {
using langtest::golden;

const std::string htmldir = std::string(TESSARIN_SOURCE_DIR) + "/docs/html/";
const char* const pages[] = {"Index.html", "Tutorial.html", "BasicRef.html"};

std::string readpage(const std::string& name) {
  return langtest::slurp(htmldir + name);
}

// The page's text as a reader sees it: tags dropped, entities decoded.
std::string pagetext(const std::string& html) {
  std::string t = std::regex_replace(html, std::regex("<[^>]*>"), "");
  const std::pair<const char*, const char*> entities[] = {
      {"&gt;", ">"}, {"&lt;", "<"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& e : entities) {
    size_t at;
    while ((at = t.find(e.first)) != std::string::npos)
      t.replace(at, strlen(e.first), e.second);
  }
  return std::regex_replace(t, std::regex("\\s+"), " ");
}

TEST(HelpPages, SimpleHtmlOnly) {
  const std::set<std::string> allowed = {
      "html",  "head", "title", "body", "h1",  "h2", "h3", "p",  "ul", "li",
      "table", "tr",   "th",    "td",   "pre", "a",  "b",  "tt", "br"};
  std::regex tag("<(/?)([A-Za-z0-9]+)[^>]*>");
  for (const char* page : pages) {
    std::string html = readpage(page);
    ASSERT_GT(html.size(), 1000u) << page;
    std::map<std::string, int> open, close;
    for (std::sregex_iterator i(html.begin(), html.end(), tag), end; i != end;
         ++i) {
      std::string name = (*i)[2];
      for (char& c : name) c = (char)tolower((unsigned char)c);
      EXPECT_TRUE(allowed.count(name)) << page << ": <" << name << ">";
      ((*i)[1].length() ? close : open)[name]++;
    }
    for (const std::string& t : allowed)  // all closed but <br>
      EXPECT_TRUE(t == "br" || open[t] == close[t])
          << page << ": <" << t << ">";
    EXPECT_EQ(open["h1"], 1) << page;
    EXPECT_EQ(html.find("style="), std::string::npos) << page;
    EXPECT_EQ(html.find("<script"), std::string::npos) << page;
    // every '<' and '>' of the text is written as an entity
    std::string text = std::regex_replace(html, tag, "");
    EXPECT_EQ(text.find('<'), std::string::npos) << page;
    EXPECT_EQ(text.find('>'), std::string::npos) << page;
  }
}

TEST(HelpPages, LinksLeadSomewhere) {
  std::regex href("href=\"([^\"#]*)(#([^\"]*))?\"");
  int links = 0;
  for (const char* page : pages) {
    std::string html = readpage(page);
    for (std::sregex_iterator i(html.begin(), html.end(), href), end; i != end;
         ++i) {
      std::string file = (*i)[1].length() ? (*i)[1].str() : page;
      std::string target = readpage(file);
      ASSERT_FALSE(target.empty()) << page << " links to " << file;
      if ((*i)[3].length()) {
        EXPECT_NE(target.find("name=\"" + (*i)[3].str() + "\""),
                  std::string::npos)
            << page << " links to " << file << "#" << (*i)[3];
      }
      links++;
    }
  }
  EXPECT_GT(links, 40);
  std::string index = readpage("Index.html");
  EXPECT_NE(index.find("href=\"Tutorial.html\""), std::string::npos);
  EXPECT_NE(index.find("href=\"BasicRef.html\""), std::string::npos);
  // the print failure alert sends the user to this section
  EXPECT_NE(index.find("name=\"printing\""), std::string::npos);
}

// Every name that tests/data/helppages.txt lists under a page appears in
// the page's text.
TEST(HelpPages, PagesNameEveryCommandAndKeyword) {
  int names = 0;
  for (const auto& page : golden("helppages.txt")) {
    std::string text = pagetext(readpage(page.first));
    std::istringstream in(page.second);
    for (std::string n; std::getline(in, n); names++)
      EXPECT_NE(text.find(n), std::string::npos)
          << page.first << " lacks " << n;
  }
  EXPECT_GT(names, 350);
}

}  // namespace
