#include "operations/compare/compare.h"

#include "model/conversions.h"
#include "model/records/project_file.h"
#include "operations/box/box_operations.h"

namespace vyk {

namespace {

// How a side's curve is drawn in its own units: the axes' titles and the point of entry x.
struct CurveUnits {
  bool frequencyIn;
  bool frequencyOut;
  ConversionSettings conversion;
  bool operator==(const CurveUnits&) const = default;
};

CurveUnits UnitsOf(const ComparedProject& p) {
  const uint8_t mode = p.image.Byte(kModeByte);
  return {(mode & kFrequencyInput) != 0, (mode & kOutputKindMask) == kFrequencyOutput,
          ConversionSettings::ForGroup(p.header.Group())};
}

std::vector<ChartPoint> Curve(const ComparedProject& p, bool inUnits) {
  const CurveUnits u = UnitsOf(p);
  std::vector<ChartPoint> points;
  for (int x = 0; x < kCurvePoints; ++x) {
    const int y = p.image.Entry(x);
    if (!inUnits) {
      points.push_back({static_cast<float>(32 * x), static_cast<float>(y)});
      continue;
    }
    points.push_back(
        {u.frequencyIn ? RowInputHertz(u.conversion, x) : RowInputVolts(x),
         u.frequencyOut ? CountOutputHertz(u.conversion, y) : CountOutputVolts(u.conversion, y)});
  }
  return points;
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

ComparedProject WindowProject(const AppState& st) {
  return {"This project", st.header, st.image};
}

bool HasProject(Session& s) {
  return s.state.projectState != ProjectState::NoProject && !RefusedDuringExchange(s);
}

}  // namespace

std::string Comparison::Summary() const {
  std::string text = differences.empty() ? "No differences"
                     : differences.size() == 1
                         ? "1 difference"
                         : std::to_string(differences.size()) + " differences";
  if (!sameUnits)
    text +=
        ". The two tables read in different units: the chart shows counts, and entries "
        "are compared by their counts";
  return text;
}

Comparison CompareProjects(ComparedProject a, ComparedProject b) {
  Comparison c;
  c.a = std::move(a);
  c.b = std::move(b);
  c.differences = DiffImages({c.a.header, c.a.image}, {c.b.header, c.b.image});
  const CurveUnits ua = UnitsOf(c.a);
  c.sameUnits = ua == UnitsOf(c.b);
  c.xTitle = !c.sameUnits ? "Input count" : ua.frequencyIn ? "F In" : "V In";
  c.yTitle = !c.sameUnits ? "Output count" : ua.frequencyOut ? "F Out" : "V Out";
  c.curveA = Curve(c.a, c.sameUnits);
  c.curveB = Curve(c.b, c.sameUnits);
  return c;
}

std::optional<Comparison> CompareWithFileClick(Session& s) {
  if (!HasProject(s)) return std::nullopt;
  const AppState& st = s.state;
  auto path =
      s.dialogs.OpenFileName({st.meterFolder, "*.VYK|*.VYK|All files (*)|*", "*.VYK", false, ""});
  if (!path) return std::nullopt;
  const ProjectReadResult read = ReadProjectFile(*path, ProjectHeader());
  if (read.status != ProjectReadStatus::Ok) {
    s.dialogs.Error(ProjectReadMessage(read.status, *path));
    return std::nullopt;
  }
  return CompareProjects(WindowProject(st), {FileNameOf(*path), read.header, read.image});
}

std::optional<Comparison> CompareWithBoxClick(Session& s, BoxLink& link,
                                              const TransferProgress& progress) {
  if (!HasProject(s)) return std::nullopt;
  ComparedProject box = WindowProject(s.state);
  box.title = "The Box";
  if (!ReadBoxImage(s, link, box.image, progress)) return std::nullopt;
  return CompareProjects(WindowProject(s.state), std::move(box));
}

}  // namespace vyk
