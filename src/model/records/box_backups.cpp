#include "model/records/box_backups.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "model/errors.h"
#include "model/records/box_history.h"
#include "model/records/project_file.h"
#include "storage/path_text.h"
#include "storage/record_lines.h"

namespace vyk {

namespace fs = std::filesystem;

namespace {

constexpr char kIndexName[] = "index.tsv";
constexpr char kExtension[] = ".VYK";
const std::string kSimulatedPart = "_sim";
constexpr size_t kTimeLength = 19;  // 2026-12-08_08-30-05

// What the Box says goes into a file name: letters, digits and "." only.
std::string NamePart(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool plain =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.';
    out += plain ? c : '-';
  }
  return out.empty() ? "-" : out;
}

// Tabs and line breaks would break the index's lines.
std::string IndexField(const std::string& text) {
  std::string out = text;
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return out;
}

// Read from the end: a name noted twice keeps its latest project.
std::map<std::string, std::string> ReadIndex(const std::string& folder, size_t& skipped) {
  std::map<std::string, std::string> projects;
  ReadLinesBackwards(IndexPath(folder), [&](std::optional<std::string_view> line) {
    if (line && line->empty()) return true;
    const size_t tab = line ? line->find('\t') : std::string_view::npos;
    if (tab == std::string_view::npos) {
      ++skipped;
      return true;
    }
    projects.emplace(line->substr(0, tab), line->substr(tab + 1));
    return true;
  });
  return projects;
}

void AppendIndex(const std::string& folder, const std::string& fileName,
                 const std::string& project) {
  const std::string path = IndexPath(folder);
  const std::string line = IndexField(fileName) + "\t" + IndexField(project) + "\n";
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) throw InOutError("Error writing " + path);
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw InOutError("Error writing " + path);
}

}  // namespace

std::string BackupsFolder(const std::string& dataFolder) {
  return PathText(PathOf(dataFolder) / "backups");
}

std::string IndexPath(const std::string& backupsFolder) {
  return PathText(PathOf(backupsFolder) / kIndexName);
}

std::string SaveBackup(const std::string& dataFolder, std::time_t when, const std::string& letter,
                       const std::string& version, const ProjectHeader& header,
                       const EepromImage& image, const std::string& project, bool simulated) {
  const std::string folder = BackupsFolder(dataFolder);
  std::error_code ec;
  fs::create_directories(PathOf(folder), ec);
  if (ec) throw InOutError("Error writing " + folder + ": " + ec.message());
  const std::string stem = LocalTimeText(when, "%Y-%m-%d_%H-%M-%S") + "_" + NamePart(letter) +
                           NamePart(version) + (simulated ? kSimulatedPart : "");
  std::string name = stem + kExtension;
  for (int n = 2; fs::exists(PathOf(folder) / PathOf(name), ec); ++n)
    name = stem + "_" + std::to_string(n) + kExtension;
  const std::string path = PathText(PathOf(folder) / PathOf(name));
  WriteProjectFile(path, header, image);
  if (!project.empty()) AppendIndex(folder, name, project);
  return path;
}

void NoteBackupReplaced(const std::string& dataFolder, const std::string& path,
                        const std::string& project) {
  AppendIndex(BackupsFolder(dataFolder), PathText(PathOf(path).filename()), project);
}

std::vector<BackupInfo> ListBackups(const std::string& dataFolder, size_t* skippedLines) {
  std::vector<BackupInfo> list;
  const std::string folder = BackupsFolder(dataFolder);
  std::error_code ec;
  if (!fs::is_directory(PathOf(folder), ec)) return list;
  size_t skipped = 0;
  const std::map<std::string, std::string> projects = ReadIndex(folder, skipped);
  if (skippedLines != nullptr) *skippedLines = skipped;
  for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(folder), ec)) {
    const std::string name = PathText(entry.path().filename());
    if (!entry.is_regular_file(ec) || name.size() < kTimeLength + 2 + 4 ||
        name.compare(name.size() - 4, 4, kExtension) != 0 || name[kTimeLength] != '_')
      continue;
    BackupInfo b;
    b.path = PathText(entry.path());
    b.fileName = name;
    std::string time = name.substr(0, kTimeLength);
    time[10] = ' ';
    time[13] = time[16] = ':';
    b.time = time;
    std::string rest = name.substr(kTimeLength + 1, name.size() - kTimeLength - 1 - 4);
    if (const size_t suffix = rest.find('_'); suffix != std::string::npos) {
      b.simulated = rest.compare(suffix, kSimulatedPart.size(), kSimulatedPart) == 0;
      rest.resize(suffix);
    }
    b.letter = rest.substr(0, 1);
    b.version = rest.substr(1);
    if (auto p = projects.find(name); p != projects.end()) b.project = p->second;
    list.push_back(std::move(b));
  }
  // The names start with the time, so the newest sorts last; "_2" sorts after its first.
  std::sort(list.begin(), list.end(),
            [](const BackupInfo& a, const BackupInfo& b) { return a.fileName > b.fileName; });
  return list;
}

}  // namespace vyk
