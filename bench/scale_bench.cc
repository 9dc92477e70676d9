// Scale benchmark: the user actions of a large branch through the real module, its application
// server and HTTP, next to what the database and the wire format alone cost (the floors),
// measured in the same run so that the ratios hold on a busy machine.
//
//   scale_bench [--sizes 1000,10000,100000] [--runs 5] [--no-window] [--keep DIR]
//               [--actions leave,window,move,edit]
//
// For each size it builds a database of that many bound clients and as many bindable ones,
// runs every action `runs` times (each in a fresh process, on a fresh copy of the database
// when the action changes it) and prints one table of medians and ratios, then the resident
// memory after leaving the filter against the bytes of the values read: of the client tier
// with the server in a process of its own, and of the whole with the server in process.
#include <fmt/format.h>
#include <stdlib.h>

#include <algorithm>
#include <cxxopts.hpp>
#include <filesystem>
#include <functional>
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

struct MemoryRow {
  int clients = 0;
  std::int64_t valueBytes = 0;
  bench::ActionResult apart;      // the server in a process of its own
  bench::ActionResult inProcess;  // the server in the action's process
};

double megabytes(long kb) {
  return static_cast<double>(kb) / 1024;
}

std::string timesValues(long kb, std::int64_t valueBytes) {
  return fmt::format("{:.1f}×", static_cast<double>(kb) * 1024 /
                                    static_cast<double>(std::max<std::int64_t>(1, valueBytes)));
}

// `beforeEach` runs before every run of the action: a floor measured there sees the machine
// as the run next to it does.
Sample measure(bench::Action action, const std::string& pristine, const std::string& scratch,
               int clients, int runs, bool changesData,
               bench::ServerPlacement placement = bench::ServerPlacement::InProcess,
               const std::function<void()>& beforeEach = nullptr) {
  Sample sample;
  for (int run = 0; run < runs; ++run) {
    if (beforeEach)
      beforeEach();
    if (changesData || run == 0)
      bench::copyDatabase(pristine, scratch);
    bench::ActionResult result = bench::runAction(action, scratch, clients, placement);
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
      cxxopts::value<std::string>())("actions", "actions to run: leave, window, move, edit",
                                     cxxopts::value<std::vector<std::string>>()->default_value(
                                         "leave,window,move,edit"))("h,help", "help");
  const auto parsed = options.parse(argc, argv);
  if (parsed.count("help")) {
    std::cout << options.help() << '\n';
    return 0;
  }
  const int runs = std::max(1, parsed["runs"].as<int>());
  const auto actions = parsed["actions"].as<std::vector<std::string>>();
  const auto wanted = [&](const char* name) {
    return std::find(actions.begin(), actions.end(), name) != actions.end();
  };
  const bool window = parsed.count("no-window") == 0 && wanted("window");
  fs::path folder;
  if (parsed.count("keep")) {
    folder = parsed["keep"].as<std::string>();
    fs::create_directories(folder);
  } else {
    std::string pattern = (fs::temp_directory_path() / "cps-scale-XXXXXX").string();
    folder = mkdtemp(pattern.data());
  }

  std::vector<Row> rows;
  std::vector<MemoryRow> memory;
  for (const int clients : parsed["sizes"].as<std::vector<int>>()) {
    const std::string pristine = (folder / fmt::format("scale-{}.db", clients)).string();
    const std::string scratch = (folder / fmt::format("scratch-{}.db", clients)).string();
    if (!fs::exists(pristine)) {
      std::cerr << "building the database of " << clients << " clients...\n";
      bench::buildScaleDatabase(pristine, clients);
    }
    std::cerr << "measuring " << clients << " clients...\n";
    std::vector<double> reloads, inserts, updates;
    // Also brings the database's pages into the system's cache before anything is timed.
    const bench::ReadFloor read = bench::readFloor(pristine);
    for (int run = 0; run < runs; ++run) {
      reloads.push_back(bench::reloadFloor(pristine).seconds);
      bench::copyDatabase(pristine, scratch);
      inserts.push_back(bench::insertFloor(scratch, clients));
      bench::copyDatabase(pristine, scratch);
      updates.push_back(bench::updateFloor(scratch));
    }
    // Leaving the filter is judged against the read floor measured before each of its runs.
    std::vector<double> leaveReads;
    const auto readBefore = [&] { leaveReads.push_back(bench::readFloor(pristine).seconds); };
    const double editFloor = median(updates) + median(reloads);

    // The window's actions are judged against the headless one.
    Sample leave;
    if (wanted("leave") || window) {
      leave = measure(bench::Action::LeaveFilter, pristine, scratch, clients, runs, false,
                      bench::ServerPlacement::InProcess, readBefore);
      rows.push_back(
          {"leave the filter", clients, median(leave.seconds), "read + JSON", median(leaveReads),
           fmt::format("RSS {:.0f} MB, server in process", megabytes(leave.last.rssKb))});
    }
    if (wanted("leave")) {
      leaveReads.clear();
      const Sample apart = measure(bench::Action::LeaveFilter, pristine, scratch, clients, runs,
                                   false, bench::ServerPlacement::OwnProcess, readBefore);
      rows.push_back({"leave the filter, server apart", clients, median(apart.seconds),
                      "read + JSON", median(leaveReads),
                      fmt::format("client RSS {:.0f} MB, server RSS {:.0f} MB",
                                  megabytes(apart.last.rssKb), megabytes(apart.last.serverRssKb))});
      memory.push_back({clients, read.valueBytes, apart.last, leave.last});
    }
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
    if (wanted("move")) {
      const Sample move = measure(bench::Action::MoveAllIn, pristine, scratch, clients, runs, true);
      rows.push_back({"move every client in", clients, median(move.seconds), "raw inserts",
                      median(inserts), callList(move.last.calls)});
      // The last move's database holds every row the action wrote.
      if (move.last.error.empty()) {
        const bench::WrittenRows written = bench::readWrittenRows(pristine, scratch);
        std::vector<double> floors;
        for (int run = 0; run < runs; ++run)
          floors.push_back(bench::writtenRowsFloor(written, pristine, scratch));
        rows.push_back(
            {"move every client in", clients, median(move.seconds),
             "raw inserts of every row written", median(floors),
             fmt::format("{} rows: bindings, value history, trail", bench::rowCount(written))});
      }
      if (window) {
        const Sample shown =
            measure(bench::Action::MoveAllInWindow, pristine, scratch, clients, runs, true);
        rows.push_back({"move every client in, window", clients, median(shown.seconds), "headless",
                        median(move.seconds), ""});
      }
    }
    if (wanted("edit")) {
      const Sample edit =
          measure(bench::Action::ConfirmEdit, pristine, scratch, clients, runs, true);
      rows.push_back({"change one row, confirm", clients, median(edit.seconds), "UPDATE + reload",
                      editFloor, callList(edit.last.calls)});
    }
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
  if (!memory.empty()) {
    std::cout << "\nResident memory after leaving the filter (last run), against the bytes of "
                 "the values read; the client tier with the server apart, then the whole with "
                 "the server in process\n\n"
                 "| clients | values | client tier | ratio | of it, data | ratio | at its start | "
                 "before the action | held since its start | ratio | client's peak | server "
                 "process | whole, server in process | ratio |\n"
                 "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const MemoryRow& row : memory) {
      const long held = row.apart.rssKb - row.apart.startKb;
      std::cout << fmt::format(
          "| {} | {:.1f} MB | {:.1f} MB | {} | {:.1f} MB | {} | {:.1f} MB | {:.1f} MB | {:.1f} MB "
          "| {} | {:.0f} MB | {:.0f} MB | {:.0f} MB | {} |\n",
          row.clients, static_cast<double>(row.valueBytes) / (1 << 20), megabytes(row.apart.rssKb),
          timesValues(row.apart.rssKb, row.valueBytes), megabytes(row.apart.anonymousKb),
          timesValues(row.apart.anonymousKb, row.valueBytes), megabytes(row.apart.startKb),
          megabytes(row.apart.rssBeforeKb), megabytes(held), timesValues(held, row.valueBytes),
          megabytes(row.apart.peakKb), megabytes(row.apart.serverRssKb),
          megabytes(row.inProcess.rssKb), timesValues(row.inProcess.rssKb, row.valueBytes));
    }
  }
  if (!parsed.count("keep"))
    fs::remove_all(folder);
  return 0;
}
