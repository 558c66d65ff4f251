#pragma once
// File > Compare With: the window's project beside another project file or beside what the
// Box holds: both table curves on one chart and the list of what differs. Nothing of the
// window's project changes.
#include <optional>
#include <string>
#include <vector>

#include "link/box_link.h"
#include "model/image_diff.h"
#include "operations/box/box_operations.h"
#include "operations/project/session.h"

namespace vyk {

struct ComparedProject {
  std::string title;  // "This project", a file's name, "The Box"
  ProjectHeader header;
  EepromImage image;
};

struct Comparison {
  ComparedProject a;
  ComparedProject b;
  std::vector<ImageDifference> differences;
  // Both curves on one pair of axes: in the units of the two tables when they read alike,
  // else in counts, where the two still compare.
  bool sameUnits = true;
  std::string xTitle;
  std::string yTitle;
  std::vector<ChartPoint> curveA;
  std::vector<ChartPoint> curveB;

  // "No differences" or "N differences", and why the chart shows counts when it does.
  std::string Summary() const;
};

Comparison CompareProjects(ComparedProject a, ComparedProject b);

// Asks for a project file and compares the window's project with it; nothing when the user
// cancels, the file cannot be read (an error box says why) or there is no project.
std::optional<Comparison> CompareWithFileClick(Session& s);
// Reads the Box's 80 bytes as Retrieve does, without the question and without changing the
// project, and compares the project with the project as the Box holds it (the same header,
// bytes 0x50..0xFF being the project's: the Box has no others).
std::optional<Comparison> CompareWithBoxClick(Session& s, BoxLink& link,
                                              const TransferProgress& progress = {});

}  // namespace vyk
