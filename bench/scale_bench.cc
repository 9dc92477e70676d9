// Scale benchmark: the user actions of a large branch through the real module, its application
// server and HTTP, next to what the database and the wire format alone cost (the floors),
// measured in the same run so that the ratios hold on a busy machine.
//
//   scale_bench [--sizes 1000,10000,100000] [--runs 5] [--no-window] [--keep DIR]
//
// For each size it builds a database of that many bound clients and as many bindable ones,
// runs every action `runs` times (each in a fresh process, on a fresh copy of the database
// when the action changes it) and prints one table of medians and ratios.
#include <fmt/format.h>
#include <stdlib.h>

#include <algorithm>
#include <cxxopts.hpp>
#include <filesystem>
#include <iostream>
#include <vector>

#include "bench/scale_actions.h"
#include "bench/scale_database.h"
#include "bench/scale_floors.h"

namespace {

namespace fs = std::filesystem;

double median(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string seconds(double s) {
  return s < 1 ? fmt::format("{:.0f} ms", s * 1000) : fmt::format("{:.2f} s", s);
}

std::string callList(const std::map<std::string, int>& calls) {
  std::string out;
  for (const auto& [method, count] : calls)
    out += fmt::format("{}{} {}", out.empty() ? "" : ", ", method, count);
  return out;
}

struct Row {
  std::string action;
  int clients = 0;
  double median = 0;
  std::string floorName;
  double floor = 0;
  std::string notes;
};

struct Sample {
  std::vector<double> seconds;
  bench::ActionResult last;
};

Sample measure(bench::Action action, const std::string& pristine, const std::string& scratch,
               int clients, int runs, bool changesData) {
  Sample sample;
  for (int run = 0; run < runs; ++run) {
    if (changesData || run == 0)
      bench::copyDatabase(pristine, scratch);
    bench::ActionResult result = bench::runAction(action, scratch, clients);
    if (!result.error.empty()) {
      std::cerr << bench::actionName(action) << " (" << clients << "): " << result.error << '\n';
      sample.last = result;
      return sample;
    }
    sample.seconds.push_back(result.seconds);
    sample.last = result;
  }
  return sample;
}

}  // namespace

int main(int argc, char** argv) {
  cxxopts::Options options("scale_bench", "The user actions of a large branch, with their floors");
  options.add_options()("sizes", "bound clients per database",
                        cxxopts::value<std::vector<int>>()->default_value("1000,10000,100000"))(
      "runs", "runs of each action", cxxopts::value<int>()->default_value("5"))(
      "no-window", "leave out the desktop window's actions")(
      "keep", "keep the databases in this folder (reused when present)",
      cxxopts::value<std::string>())("h,help", "help");
  const auto parsed = options.parse(argc, argv);
  if (parsed.count("help")) {
    std::cout << options.help() << '\n';
    return 0;
  }
  const int runs = std::max(1, parsed["runs"].as<int>());
  const bool window = parsed.count("no-window") == 0;
  fs::path folder;
  if (parsed.count("keep")) {
    folder = parsed["keep"].as<std::string>();
    fs::create_directories(folder);
  } else {
    std::string pattern = (fs::temp_directory_path() / "cps-scale-XXXXXX").string();
    folder = mkdtemp(pattern.data());
  }

  std::vector<Row> rows;
  for (const int clients : parsed["sizes"].as<std::vector<int>>()) {
    const std::string pristine = (folder / fmt::format("scale-{}.db", clients)).string();
    const std::string scratch = (folder / fmt::format("scratch-{}.db", clients)).string();
    if (!fs::exists(pristine)) {
      std::cerr << "building the database of " << clients << " clients...\n";
      bench::buildScaleDatabase(pristine, clients);
    }
    std::cerr << "measuring " << clients << " clients...\n";
    std::vector<double> reads, reloads, inserts, updates;
    bench::ReadFloor read;
    for (int run = 0; run < runs; ++run) {
      read = bench::readFloor(pristine);
      reads.push_back(read.seconds);
      reloads.push_back(bench::reloadFloor(pristine).seconds);
      bench::copyDatabase(pristine, scratch);
      inserts.push_back(bench::insertFloor(scratch, clients));
      bench::copyDatabase(pristine, scratch);
      updates.push_back(bench::updateFloor(scratch));
    }
    const double readFloor = median(reads);
    const double editFloor = median(updates) + median(reloads);

    const Sample leave =
        measure(bench::Action::LeaveFilter, pristine, scratch, clients, runs, false);
    rows.push_back(
        {"leave the filter", clients, median(leave.seconds), "read + JSON", readFloor,
         fmt::format("RSS {} MB ({} MB before) for {} MB of values ({:.1f}×)",
                     leave.last.rssKb / 1024, leave.last.rssBeforeKb / 1024, read.valueBytes >> 20,
                     static_cast<double>(leave.last.rssKb) * 1024 /
                         static_cast<double>(std::max<std::int64_t>(1, read.valueBytes)))});
    if (window) {
      const Sample shown =
          measure(bench::Action::LeaveFilterWindow, pristine, scratch, clients, runs, false);
      rows.push_back({"leave the filter, window", clients, median(shown.seconds), "headless",
                      median(leave.seconds), ""});
      const Sample scroll =
          measure(bench::Action::ScrollWindow, pristine, scratch, clients, runs, false);
      rows.push_back({"scroll list and grids, window", clients, median(scroll.seconds), "", 0,
                      "to the end, the middle and back, painted"});
    }
    const Sample move = measure(bench::Action::MoveAllIn, pristine, scratch, clients, runs, true);
    rows.push_back({"move every client in", clients, median(move.seconds), "raw inserts",
                    median(inserts), callList(move.last.calls)});
    if (window) {
      const Sample shown =
          measure(bench::Action::MoveAllInWindow, pristine, scratch, clients, runs, true);
      rows.push_back({"move every client in, window", clients, median(shown.seconds), "headless",
                      median(move.seconds), ""});
    }
    const Sample edit = measure(bench::Action::ConfirmEdit, pristine, scratch, clients, runs, true);
    rows.push_back({"change one row, confirm", clients, median(edit.seconds), "UPDATE + reload",
                    editFloor, callList(edit.last.calls)});
  }

  std::cout << fmt::format("\n{} runs each, medians\n\n", runs);
  std::cout << "| action | clients | median | floor | floor median | ratio | notes |\n"
               "|---|---:|---:|---|---:|---:|---|\n";
  for (const Row& row : rows) {
    const std::string ratio =
        row.floor > 0 ? fmt::format("{:.2f}×", row.median / row.floor) : std::string("");
    std::cout << fmt::format("| {} | {} | {} | {} | {} | {} | {} |\n", row.action, row.clients,
                             seconds(row.median), row.floorName,
                             row.floor > 0 ? seconds(row.floor) : "", ratio, row.notes);
  }
  if (!parsed.count("keep"))
    fs::remove_all(folder);
  return 0;
}
