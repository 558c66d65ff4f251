#include "operations/table/table_csv.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "model/text/number.h"
#include "operations/project/undo_history.h"
#include "operations/table/grid_clipboard.h"
#include "operations/table/image_grids.h"

namespace vyk {

namespace {

// The fields of a line, each without the double quotes a spreadsheet may put around it.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    std::string field = line.substr(start, comma == std::string::npos ? comma : comma - start);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
      field = field.substr(1, field.size() - 2);
    fields.push_back(field);
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// An entry number 0..32, blanks around it allowed.
std::optional<int> EntryNumber(const std::string& field) {
  const std::string digits = Trim(field);
  if (digits.empty() || digits.size() > 2 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int k = std::stoi(digits);
  if (k >= kTableEntries) return std::nullopt;
  return k;
}

// A first line whose first field is no number names the columns.
bool IsHeader(const std::string& field) {
  try {
    return !ReadNumber(Trim(field));
  } catch (const std::exception&) {
    return false;  // a number, if too large a one
  }
}

}  // namespace

std::string TableCsv(const AppState& state) {
  std::string text = "entry,count,input,output\n";
  for (int row = 1; row < kTableGridRows; ++row) {
    text += std::to_string(row - 1) + "," + std::to_string(state.image.Entry(row - 1)) + "," +
            Trim(TableGridCellText(state, 0, row)) + "," + Trim(TableGridCellText(state, 1, row)) +
            "\n";
  }
  return text;
}

bool SetTableFromCsv(Session& s, const std::string& text, const std::string& name) {
  if (RefusedDuringExchange(s)) return false;
  struct Row {
    int entry;
    std::string output;
  };
  std::vector<Row> rows;
  std::array<int, kTableEntries> setOn{};  // the line that set each entry, 0 for none
  size_t entryColumn = 0;
  size_t outputColumn = 1;
  size_t columns = 2;
  bool first = true;
  auto refuse = [&](size_t line, const std::string& why) {
    s.dialogs.Error(name + " line " + std::to_string(line) + ": " + why + ". Nothing was changed.");
    return false;
  };

  size_t start = 0;
  for (size_t number = 1; start < text.size(); ++number) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trim(line).empty()) continue;
    const std::vector<std::string> fields = Fields(line);
    if (first) {
      first = false;
      if (IsHeader(fields[0])) {
        // A header: it names the columns.
        std::vector<std::string> names;
        for (const std::string& f : fields)
          names.push_back(Lower(Trim(f)));
        auto entry = std::find(names.begin(), names.end(), "entry");
        auto output = std::find(names.begin(), names.end(), "output");
        if (entry == names.end() || output == names.end())
          return refuse(number, "'" + line + "' is neither entry,output nor a header naming them");
        entryColumn = static_cast<size_t>(entry - names.begin());
        outputColumn = static_cast<size_t>(output - names.begin());
        columns = names.size();
        continue;
      }
    }
    if (fields.size() != columns)
      return refuse(number, "'" + line + "' has " + std::to_string(fields.size()) +
                                " fields, not " + std::to_string(columns));
    const auto entry = EntryNumber(fields[entryColumn]);
    if (!entry) return refuse(number, "'" + fields[entryColumn] + "' is no table entry 0..32");
    if (setOn[*entry] != 0)
      return refuse(number, "entry " + std::to_string(*entry) + " was already set on line " +
                                std::to_string(setOn[*entry]));
    setOn[*entry] = static_cast<int>(number);
    const std::string& output = fields[outputColumn];
    if (auto fault = OutputTextFault(s.state, output))
      return refuse(number,
                    "'" + output + "' " + *fault + " (entry " + std::to_string(*entry) + ")");
    rows.push_back({*entry, output});
  }

  // Taken for "no edits", a file of junk or the wrong file would be saved as if it were a table.
  if (std::none_of(rows.begin(), rows.end(),
                   [](const Row& row) { return !Trim(row.output).empty(); })) {
    s.dialogs.Error(name +
                    " holds no line of entry,output that sets an output. Nothing was changed.");
    return false;
  }
  ProjectChange change(s, "Table from CSV");
  for (const Row& row : rows)
    TableGridSetEditText(s, 1, row.entry + 1, row.output);
  return true;
}

}  // namespace vyk
