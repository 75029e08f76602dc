#include "cli/cli_commands.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <functional>
#include <map>

#include "app/termination_signal.h"
#include "base/file_io.h"
#include "cli/download_batch.h"
#include "cli/show_check.h"
#include "cli/show_diff.h"
#include "cli/show_export.h"
#include "cli/show_info.h"

namespace kx {

namespace {

constexpr int kDefaultParallel = 8;
constexpr int kMaxParallel = 256;

struct Io {
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    QString summary;
    QString syntax;
    QString description;
    std::function<void(QCommandLineParser&)> options;
    // Positional arguments: exactly, or at least with -1 as the upper bound.
    int minArgs;
    int maxArgs;
    std::function<int(const QCommandLineParser&, const QStringList&, Io&)> run;
};

const std::map<QString, Command>& commands();

QString programHelp() {
    QString text = QStringLiteral(
        "Usage: kx7420-cli COMMAND ARGUMENTS\n"
        "Looks into, checks, compares and exports KX-7420 Show Files and downloads them to\n"
        "Controllers, with the same readers, builders and transfer as the window.\n\n"
        "Commands:\n");
    for (const auto& [name, c] : commands())
        text += QStringLiteral("  %1%2\n").arg(name, -10).arg(c.summary);
    text += QStringLiteral(
        "\n'kx7420-cli COMMAND --help' describes a command.\n"
        "Exit codes: 0 success, 1 the work failed (or differences or faults found), 2 bad "
        "usage.\n");
    return text;
}

// The file's bytes and the show read from them; the reason on err when it cannot be read.
struct ShowSource {
    QByteArray bytes;
    std::unique_ptr<LoadedShow> loaded;
};
std::optional<ShowSource> readShowArgument(const QString& path, Io& io) {
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        io.err << "kx7420-cli: cannot read " << path << '\n';
        return std::nullopt;
    }
    ShowSource source{*bytes, readShowBytes(*bytes)};
    if (source.loaded->parse != ParseResult::Ok) {
        for (const CheckFinding& f : checkShow(*bytes))
            io.err << path << ": " << findingText(f) << '\n';
        return std::nullopt;
    }
    return source;
}

int runInfo(const QCommandLineParser& p, const QStringList& args, Io& io) {
    const auto source = readShowArgument(args[0], io);
    if (!source) return kExitFailed;
    const QJsonObject info = showInfo(*source->loaded, source->bytes);
    if (p.isSet("json")) {
        io.out << QJsonDocument(info).toJson(QJsonDocument::Indented);
    } else {
        io.out << showInfoText(info);
    }
    return kExitOk;
}

int runCheck(const QCommandLineParser&, const QStringList& args, Io& io) {
    const auto bytes = readWholeFile(args[0]);
    if (!bytes) {
        io.err << "kx7420-cli: cannot read " << args[0] << '\n';
        return kExitFailed;
    }
    const auto findings = checkShow(*bytes);
    for (const CheckFinding& f : findings)
        io.out << args[0] << ": " << findingText(f) << '\n';
    if (findings.empty()) io.out << args[0] << ": OK\n";
    return findings.empty() ? kExitOk : kExitFailed;
}

int runDiff(const QCommandLineParser& p, const QStringList& args, Io& io) {
    const auto a = readShowArgument(args[0], io);
    const auto b = readShowArgument(args[1], io);
    if (!a || !b) return kExitFailed;
    const auto differences = diffShows(*a->loaded, *b->loaded);
    if (p.isSet("json")) {
        QJsonArray list;
        for (const ShowDifference& d : differences) {
            list.append(QJsonObject{
                {"where", d.where}, {"field", d.field}, {"before", d.before}, {"after", d.after}});
        }
        io.out << QJsonDocument(QJsonObject{{"equal", differences.empty()}, {"differences", list}})
                      .toJson(QJsonDocument::Indented);
    } else {
        for (const ShowDifference& d : differences)
            io.out << differenceText(d) << '\n';
    }
    return differences.empty() ? kExitOk : kExitFailed;
}

int runExport(const QCommandLineParser&, const QStringList& args, Io& io) {
    const QString numbers = args.size() == 4 ? args[2] : QString();
    const ExportParse parse = parseExportRequest(args[1], numbers);
    if (!parse.request) {
        io.err << "kx7420-cli export: " << parse.error << '\n';
        return kExitUsage;
    }
    auto source = readShowArgument(args[0], io);
    if (!source) return kExitFailed;
    const ExportResult result = exportFromShow(*source->loaded, *parse.request);
    if (!result.bytes) {
        io.err << "kx7420-cli export: " << result.error << '\n';
        return kExitFailed;
    }
    if (!writeWholeFile(args.back(), *result.bytes)) {
        io.err << "kx7420-cli export: cannot write " << args.back() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int runDownload(const QCommandLineParser& p, const QStringList& args, Io& io) {
    const QStringList targets = p.values("to");
    const bool fromFile = p.isSet("rooms");
    if (targets.isEmpty() == !fromFile) {
        io.err << "kx7420-cli download: give --to HOST[:PORT] (repeatable) or --rooms FILE\n";
        return kExitUsage;
    }
    bool parallelOk = false;
    const int parallel = p.value("parallel").toInt(&parallelOk);
    if (!parallelOk || parallel < 1 || parallel > kMaxParallel) {
        io.err << "kx7420-cli download: --parallel takes 1-" << kMaxParallel << '\n';
        return kExitUsage;
    }
    std::vector<Room> rooms;
    if (fromFile) {
        const auto text = readWholeFile(p.value("rooms"));
        if (!text) {
            io.err << "kx7420-cli download: cannot read " << p.value("rooms") << '\n';
            return kExitUsage;
        }
        const RoomsFileParse parse = parseRoomsFile(QString::fromUtf8(*text));
        if (!parse.error.isEmpty()) {
            io.err << p.value("rooms") << ": " << parse.error << '\n';
            return kExitUsage;
        }
        rooms = parse.rooms;
    } else {
        for (const QString& t : targets) {
            const RoomParse parse = parseRoomTarget({}, t);
            if (!parse.room) {
                io.err << "kx7420-cli download: " << parse.error << '\n';
                return kExitUsage;
            }
            rooms.push_back(*parse.room);
        }
    }
    if (const QString error = resolveRooms(rooms); !error.isEmpty()) {
        io.err << "kx7420-cli download: " << error << '\n';
        return kExitUsage;
    }
    // A show the window would refuse is not sent anywhere.
    if (!readShowArgument(args[0], io)) return kExitFailed;

    int width = 0;
    for (const Room& r : rooms)
        width = std::max(width, static_cast<int>(r.name.size()));
    DownloadBatch batch(args[0], rooms, parallel);
    QEventLoop loop;
    batch.roomFinished = [&](const RoomOutcome& o) {
        io.out << outcomeLine(o, width) << '\n';
        io.out.flush();
    };
    batch.finished = [&loop] { loop.quit(); };
    const TerminationSignal interrupt([&batch, &io] {
        if (!batch.stopping()) io.err << "kx7420-cli: stopping, releasing the Controllers\n";
        io.err.flush();
        batch.stop();
    });
    batch.start();
    loop.exec();

    int verified = 0;
    QStringList failed;
    for (const RoomOutcome& o : batch.outcomes()) {
        if (o.verified) {
            ++verified;
        } else {
            failed << o.room.name;
        }
    }
    io.out << QStringLiteral("%1 rooms: %2 verified, %3 failed")
                  .arg(rooms.size())
                  .arg(verified)
                  .arg(failed.size());
    if (!failed.isEmpty()) io.out << " (" << failed.join(' ') << ")";
    io.out << '\n';
    const auto notStarted = batch.notStarted();
    if (!notStarted.empty()) {
        QStringList names;
        for (const Room& r : notStarted)
            names << r.name;
        io.out << "not started: " << names.join(' ') << '\n';
    }
    return verified == static_cast<int>(rooms.size()) ? kExitOk : kExitFailed;
}

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> list{
        {"info",
         {"what a Show File holds", "info SHOW [--json]",
          "Sections and their sizes, the patched fixtures by page and port, the Effects with\n"
          "content, the Scenes with their Effects, the Room Control settings that differ from\n"
          "the defaults and the save stamp.",
          [](QCommandLineParser& p) {
              p.addOption({"json", "One JSON document."});
          },
          1, 1, runInfo}},
        {"check",
         {"whether the window would load a Show File without a message",
          "check SHOW",
          "Reads every section and every Effect Material Image with the window's readers.\n"
          "Exit 0 when the window would load the file without a message, 1 with the reasons.",
          {},
          1,
          1,
          runCheck}},
        {"diff",
         {"what differs between two Show Files", "diff A B [--json]",
          "Every difference named in the show's terms. Exit 0 when equal, 1 when they differ.",
          [](QCommandLineParser& p) {
              p.addOption({"json", "One JSON document."});
          },
          2, 2, runDiff}},
        {"export",
         {"an exchange file out of a Show File",
          "export SHOW KIND [NUMBERS] OUT",
          "Writes the file the window's export button writes, byte for byte:\n"
          "  K_1DK page/number      one fixture (page 0-4, number 1-100)\n"
          "  K_ADK                  the whole Fixture Library\n"
          "  K_1SC effect/module/slot  one Material\n"
          "  K_1XG effect           one Effect with its Materials\n"
          "  K_AXG                  every Effect with every Material\n"
          "  K_1MK effect/module    one Module with its twelve Materials",
          {},
          3,
          4,
          runExport}},
        {"download",
         {"a Show File to many Controllers",
          "download SHOW --to HOST[:PORT] ... | --rooms FILE [--parallel N]",
          "Downloads the Show File to every Controller, N at a time, with the window's transfer,\n"
          "resends and verification, and releases each Controller afterwards. A room that fails\n"
          "is tried once more. One line per room as it finishes, then a summary; exit 0 only\n"
          "when every room verified. The rooms file holds one 'name HOST[:PORT]' a line, '#'\n"
          "starts a comment. Hosts are IPv4 addresses or names; nothing is ever broadcast.\n"
          "Ctrl+C stops sending, releases every connected Controller and exits 1.",
          [](QCommandLineParser& p) {
              p.addOption(
                  {"to", "A Controller (repeatable); port 51800 unless given.", "HOST[:PORT]"});
              p.addOption({"rooms", "The rooms file.", "FILE"});
              p.addOption({"parallel", "Rooms at a time (default 8).", "N",
                           QString::number(kDefaultParallel)});
          },
          1, 1, runDownload}},
    };
    return list;
}

}  // namespace

int runCli(const QStringList& args, QTextStream& out, QTextStream& err) {
    Io io{out, err};
    if (args.isEmpty()) {
        err << programHelp();
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << programHelp();
        return kExitOk;
    }
    const auto it = commands().find(args[0]);
    if (it == commands().end()) {
        err << "kx7420-cli: unknown command \"" << args[0] << "\"\n\n" << programHelp();
        return kExitUsage;
    }
    const Command& c = it->second;
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "This help.");
    p.addOption(help);
    if (c.options) c.options(p);
    const QString usage = "Usage: kx7420-cli " + c.syntax + "\n" + c.description + "\n";
    if (!p.parse(QStringList{"kx7420-cli"} + args.mid(1))) {
        err << "kx7420-cli " << args[0] << ": " << p.errorText() << "\n\n" << usage;
        return kExitUsage;
    }
    if (p.isSet(help)) {
        out << usage << "\nOptions:\n";
        for (const QString& line : p.helpText().split('\n')) {
            if (line.startsWith("  -")) out << line << '\n';
        }
        return kExitOk;
    }
    const QStringList positional = p.positionalArguments();
    if (positional.size() < c.minArgs || positional.size() > c.maxArgs) {
        err << usage;
        return kExitUsage;
    }
    return c.run(p, positional, io);
}

}  // namespace kx
