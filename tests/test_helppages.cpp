// The help pages: simple HTML the toolkit's help viewer can show, links
// and anchors that lead somewhere, and a reference that names every menu
// item, button, key and keyword of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string htmldir = std::string(TESSARIN_SOURCE_DIR) + "/docs/html/";
const char* const pages[] = {"Index.html", "Tutorial.html", "BasicRef.html"};

std::string readpage(const std::string& name) {
  std::ifstream in(htmldir + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
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

// Every name of the '|'-separated list appears in the page's text.
void expectnamed(const char* page, const std::string& names) {
  std::string text = pagetext(readpage(page));
  for (size_t at = 0, bar; at <= names.size(); at = bar + 1) {
    bar = std::min(names.find('|', at), names.size());
    std::string n = names.substr(at, bar - at);
    EXPECT_NE(text.find(n), std::string::npos) << page << " lacks " << n;
  }
}

TEST(HelpPages, PagesNameEveryCommandAndKeyword) {
  // Menus, primitives, styles, panel, keys and mouse.
  expectnamed(
      "BasicRef.html",
      "New|Open|ReOpen|Save As|Insert File|Print|Script Print|Save EPS File|"
      "Quit|Quit-No Save|Edit Name|Edit Text|Edit Geometry|Flip Angle|"
      "Delete Geometry|Describe Geometry|Point Names|Display Value|"
      "Layer Display|Edit Preferences|Start Proof|Next Step|Previous Step|"
      "Test Diagram|End Test|About Tessarin|Documentation|Tutorial|"
      "Reference Manual|Usage Tips|Tool Tips|Free P|Pinned P|P on L|P on C|"
      "P on Conic|LL=>P|PP=>P Mid|LC=>P|CC=>P|PPP=>P Bis|C=>P Ctr|"
      "LP=>P Mirror|PC=>P Inv|APP=>P|LCon=>P|LCP=>P Other|CCP=>P Other|"
      "PPP=>P Harmonic|PP=>L|PL=>L Perp|PL=>L Par|PC=>L Tan|CC=>Ex Tan|"
      "CC=>In Tan|PP=>L Perp Bis|PCon=>L Tan|Ctr Edg|Ctr Edg=>C|PPP=>C|PC Rad|"
      "Ctr PP=>C|LC=>C Inv|CC=>C Inv|LLL=>C|PPP=>A|5P=>Con|5L=>Con|PPP=>Arc|"
      "P..P=>Poly|PPPP=>Bez|Descriptive Text|Wide Lines|Diamond|Plus|Cross|"
      "Square|No Mark|Dashed|Dotted|Infinite|Ray|Segment|1 Slash|3 Slash|"
      "Outline|Texture 1|Texture 3|1 Ring|2 Rings|3 Rings|1 DSlash|3 DSlash|"
      "Right Ang|No Angle|0.5|6.0|Color|Point Type|Line Type|Angle Type|"
      "Solid Dmnd|Show Invis|Show Text|Run Script|Rpt Set Color|"
      "Cancel Repeat Mode|View Proof|Off|Start|Next|Prev|Layer Control|"
      "Invisible|Smear|Blink|Blink1|Blink2|Ctrl-a|Ctrl-d|Ctrl-e|Ctrl-g|Ctrl-h|"
      "Ctrl-i|Tab|Ctrl-l|Ctrl-n|Ctrl-o|Ctrl-p|Ctrl-q|Ctrl-Shift-Q|Ctrl-r|"
      "Ctrl-s|Ctrl-Shift-S|Ctrl-t|Ctrl-Shift-T|Ctrl-x|Ctrl-Shift-0|Page Up|"
      "Page Down|Home|End|Left|Alt|Middle click|Left drag|Ctrl + left click|"
      "Mouse wheel|Middle drag|Resting the mouse");
  // Statements, constructors, properties, macro parameter types, expression
  // operators and text markup.
  expectnamed(
      "BasicRef.html",
      ".geometry|.include|.text|.macro|.return|.layercondition|.degreemode|"
      ".radianmode|//|.free|.pinned|.vonl|.vonc|.vonconic|.v.ll|.v.vvmid|"
      ".v.lc|.v.cc|.v.avv|.v.ccenter|.v.lvmirror|.v.vcinv|.v.lconic|"
      ".v.vvvbisect|.v.ff|.v.vvf|.v.vvratio|.v.vx|.v.vtranslate|.v.vscale|"
      ".v.vrotate|.v.lcvother|.v.lcother|.v.ccvother|.v.ccother|"
      ".v.vvvharmonic|.ratio.vvv|.l.vv|.l.vlpar|.l.vlperp|.l.vc|.l.ccext|"
      ".l.ccint|.l.conicv|.l.vvperp|.c.vv|.c.vvv|.c.lll|.c.ccinv|.c.lcinv|"
      ".c.vcrad|.c.vf|.c.ctrvv|.c.vlen|.bez.vvvv|.a.vvv|.a.f|.a.float|.a.len|"
      ".conic.vvvvv|.conic.lllll|.arc.vvv|.arc|.f.area|.f.vv|.f.vvvratio|"
      ".f.perimeter|.f.vxcoord|.f.vycoord|.script|.x.translate|.x.scale|"
      ".x.rotate|.x.xxf|.x.identity|.x.f9|.polygon|.f.rpn|.vvcondition|"
      ".vvvvcondition|.vonlcondition|.vonccondition|.vvfcondition|.black|.red|"
      ".green|.yellow|.blue|.magenta|.cyan|.white|.c0|.c31|.invisible|.in|"
      ".smear|.blink|.blink1|.blink2|.l0|.l31|.l0on|.tol0|.segment|.ray12|"
      ".longline|.solidline|.dashline|.dotline|.line0slash|.line3slash|"
      ".circpoint|.diamond|.plus|.cross|.square|.soliddiamond|.dot|.nomark|"
      ".noangle|.ring1|.ring3|.slash1|.slash3|.dslash1|.dslash3|.right|"
      ".angle1|.angle6|.outlinepoly|.solidpoly|.hashpoly|.hashpoly2|.width=|"
      ".display|.vertex|.line|.circle|.bezier|.flt|.conic|.angle|.add|.sub|"
      ".mul|.div|.mod|.neg|.abs|.dup|.clear|.pop|.exch|.roll|.copy|.sin|.cos|"
      ".tan|.atan2|.sqrt|.exp|.log|.eq|.ne|.gt|.ge|.lt|.le|.rand|.truncate|"
      ".ceiling|.floor|.round|.if|\\sup{|\\sub{|\\overline{|\\arc{|\\alpha|"
      "\\Omega|\\degrees|\\perp");
  // The tutorial walks through a whole session.
  expectnamed(
      "Tutorial.html",
      "Free P|PP=>L|PP=>P Mid|LL=>P|PPP=>C|PL=>L Perp|PPP=>A|"
      "Cancel Repeat Mode|Pick Point 1|Manipulation Mode|drag|Ctrl and click|"
      "Color|Rpt Set Color|Show Invis|Flip Angle|Display Value|Layer Display|"
      "Start|Next|Save|Edit Geometry|Save and Return to Tessarin|"
      "Save EPS File|Print|Test Diagram|End Test|Geometric Relationships|"
      "relations.txt");
}

}  // namespace
