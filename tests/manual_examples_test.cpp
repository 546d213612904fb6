// The examples table of quenorbial_compare4(3) is the one copy of the
// ordering's examples: every chain in it is read from the page and checked
// against the library and the plain reading, so that the manual drifts from
// neither and the plain reading is held to the examples too.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chains.h"
#include "ordering_reference.h"
#include "quenorbial.h"

using namespace std::string_literals;

namespace {

// A chain of the table and the line of its row's .It in the page.
struct PageChain : chains::Chain {
  int line;
};

// The table's chains, or why it could not be read.
struct Table {
  int rows = 0;
  std::vector<PageChain> chains;
  std::string error;
};

// The arguments of a macro line, its macro name first; false for a text
// line. The table quotes nothing, so a quote there is a mistake for \(dq.
bool split_line(const std::string &line, std::vector<std::string> &args) {
  if (line.empty() || line[0] != '.' || line.find('"') != std::string::npos) return false;
  std::istringstream in(line.substr(1));
  args.clear();
  for (std::string arg; in >> arg;) args.push_back(arg);
  return true;
}

// The bytes an argument stands for: \(dq is a quote, \& nothing, \e0 the
// NUL byte (written \0 on the page); a string in quotes loses its quotes.
bool decode(const std::string &arg, std::string &out) {
  out.clear();
  for (std::size_t i = 0; i < arg.size(); ++i) {
    if (arg[i] != '\\') {
      out += arg[i];
    } else if (arg.compare(i, 4, "\\(dq") == 0) {
      out += '"';
      i += 3;
    } else if (arg.compare(i, 2, "\\&") == 0) {
      i += 1;
    } else if (arg.compare(i, 3, "\\e0") == 0) {
      out += '\0';
      i += 2;
    } else {
      return false;
    }
  }
  if (out.size() >= 2 && out.front() == '"' && out.back() == '"') {
    out = out.substr(1, out.size() - 2);
  }
  return out.find('"') == std::string::npos;
}

// Reads the rows of the list after ".Ss Examples of the order": each
// ".It why Ta Li chain" line, with the ".Li" lines after it, holds chains
// parted by "," and read with the flags that "why" names by Dv.
Table read_table(std::istream &page) {
  Table t;
  std::string line;
  int n = 0;
  auto fail = [&](const std::string &why) {
    t.error = "line " + std::to_string(n) + ": " + why + ": " + line;
    return t;
  };
  while (std::getline(page, line) && (++n, line != ".Ss Examples of the order")) {
  }
  while (std::getline(page, line) && (++n, line.compare(0, 11, ".Bl -column") != 0)) {
  }
  if (!page) return fail("no examples table");
  if (!std::getline(page, line) || (++n, line != ".It Sy Why Ta Sy Ordered")) {
    return fail("not the table's heading");
  }

  std::vector<std::string> args;
  std::vector<std::string> cell;  // the row's chains as written
  int flags = 0, row_line = 0;
  // Takes the chains out of the row begun at row_line; "" or what is wrong.
  auto end_row = [&]() -> std::string {
    if (row_line == 0) return "";
    std::string at = "line " + std::to_string(row_line) + ": ";
    cell.push_back(",");
    PageChain chain{{flags, {}}, row_line};
    for (const std::string &arg : cell) {
      if (arg == "Li") continue;
      std::string s;
      bool relation_due = chain.items.size() % 2 == 1;
      if (arg == ",") {
        if (chain.items.size() < 3 || !relation_due) {
          return at + "a chain with no pair, or cut short";
        }
        t.chains.push_back(chain);
        chain.items.clear();
      } else if (relation_due != (arg == "<" || arg == "=")) {
        return at + "\"" + arg + "\" where a " + (relation_due ? "relation" : "string") + " is due";
      } else if (!decode(arg, s)) {
        return at + "an escape or quote not read in \"" + arg + "\"";
      } else {
        chain.items.push_back(s);
      }
    }
    ++t.rows;
    return "";
  };
  while (std::getline(page, line) && (++n, line != ".El")) {
    if (!split_line(line, args) || args.empty() || (args[0] != "It" && args[0] != "Li")) {
      return fail("not a row, or a quote not written \\(dq");
    }
    if (args[0] == "Li") {
      if (row_line == 0) return fail("no row to continue");
      cell.insert(cell.end(), args.begin(), args.end());
      continue;
    }
    if (!(t.error = end_row()).empty()) return t;
    auto ta = std::find(args.begin(), args.end(), "Ta");
    if (ta == args.end() || std::find(ta + 1, args.end(), "Ta") != args.end() ||
        ta + 1 == args.end() || ta[1] != "Li") {
      return fail("not a row: why Ta Li chain");
    }
    flags = 0;
    for (auto a = args.begin() + 1; a != ta; ++a) {
      if (*a != "Dv") continue;
      if (a + 1 != ta && a[1] == "P_LETTER_AS_PATCH") {
        flags |= P_LETTER_AS_PATCH;
      } else if (a + 1 != ta && a[1] == "ALPHA_AS_POST_RELEASE") {
        flags |= ALPHA_AS_POST_RELEASE;
      } else {
        return fail("an unknown flag");
      }
    }
    cell.assign(ta + 1, args.end());
    row_line = n;
  }
  if (line != ".El") return fail("the table does not end");
  if (!(t.error = end_row()).empty()) return t;
  if (t.rows == 0) return fail("no rows");
  return t;
}

TEST(ManualExamples, EveryRowHolds) {
  std::ifstream page(COMPARE_MANUAL);
  ASSERT_TRUE(page) << "cannot open " << COMPARE_MANUAL;
  Table t = read_table(page);
  ASSERT_EQ(t.error, "") << "in " << COMPARE_MANUAL;
  std::size_t pairs = 0;
  for (const PageChain &c : t.chains) {
    std::size_t k = (c.items.size() + 1) / 2;
    pairs += k * (k - 1) / 2;
    const std::string where = "in the row at line " + std::to_string(c.line) + ": ";
    chains::expect_chain(c, where);
    chains::expect_chain(c, where + "by the reference: ", reference::compare);
  }
  std::printf("%s: %d rows, %zu chains, %zu pairs\n", COMPARE_MANUAL, t.rows,
              t.chains.size(), pairs);
}

// The reader fails loudly on what it cannot read, rather than skip it.
TEST(ManualExamples, ReaderTakesRowsApart) {
  const std::string head = ".Ss Examples of the order\n.Bl -column \"x\" \"y\"\n"
                           ".It Sy Why Ta Sy Ordered\n";
  std::istringstream good(head +
                          ".It with Dv P_LETTER_AS_PATCH Ta Li \\(dq\\(dq < 1 ,\n"
                          ".Li \\(dq2\\e0x\\(dq = \\&2\n"
                          ".It plain Ta Li a = b < c\n.El\n");
  Table t = read_table(good);
  ASSERT_EQ(t.error, "");
  ASSERT_EQ(t.rows, 2);
  ASSERT_EQ(t.chains.size(), 3u);
  EXPECT_EQ(t.chains[0].flags, P_LETTER_AS_PATCH);
  EXPECT_EQ(t.chains[0].items, (std::vector<std::string>{"", "<", "1"}));
  EXPECT_EQ(t.chains[1].items, (std::vector<std::string>{"2\0x"s, "=", "2"}));
  EXPECT_EQ(t.chains[1].line, 4);
  EXPECT_EQ(t.chains[2].flags, 0);
  EXPECT_EQ(t.chains[2].items, (std::vector<std::string>{"a", "=", "b", "<", "c"}));

  for (const std::string &bad : {
           ".Ss Other\n.Bl -column\n.It Sy Why Ta Sy Ordered\n.It x Ta Li 1 < 2\n.El\n"s,
           head + ".El\n",
           head + ".It x Ta Li 1 < < 2\n.El\n",
           head + ".It x Ta Li 1 < 2 <\n.El\n",
           head + ".It x Ta Li 1 < 2 ,\n.El\n",
           head + ".It x Ta Li 1\n.El\n",
           head + ".It x Ta Li 1 > 2\n.El\n",
           head + ".It x Ta Li 1 < \\(em\n.El\n",
           head + ".It x Ta Li 1 < \"2\"\n.El\n",
           head + ".It with Dv OTHER_FLAG Ta Li 1 < 2\n.El\n",
           head + ".It x Ta Li 1 < 2\nsome text\n.El\n",
           head + ".It x Li 1 < 2\n.El\n",
           head + ".It x Ta Li 1 < 2\n",
       }) {
    std::istringstream page(bad);
    EXPECT_NE(read_table(page).error, "") << "read without complaint:\n" << bad;
  }
}

}  // namespace
