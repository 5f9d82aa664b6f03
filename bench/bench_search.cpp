// The search pass over generated lists of 10,000, 100,000 and 1,000,000 records, and fzf --filter
// on the same titles; then korvale-search as a whole process, asking a running agent and reading
// the files, against fzf --filter as a whole process, on 100,000 stored records.

#include "BenchUtils.h"
#include "CommonKorvaleClass.h"
#include "SearchPass.h"
#include "SearchResultText.h"
#include "SharedPreferences.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>

#include <cstdio>

namespace {

const QStringList kWords = {
    "project", "report",  "budget", "photo",  "invoice", "draft",  "meeting",  "notes",
    "travel",  "archive", "backup", "music",  "video",   "letter", "contract", "design",
    "résumé",  "café",    "Zürich", "Ñandú",  "crème",   "élan",   "naïve",    "Ærø",
    "kernel",  "config",  "server", "client", "summer",  "winter", "school",   "garden",
};
const QStringList kApps = {
    "Terminal",           "Text Editor", "Files",    "Firefox",    "Thunderbird",
    "LibreOffice Writer", "GIMP",        "Inkscape", "Calculator", "Settings"};

struct Corpus {
    SearchSources sources;
    QStringList titles;
};

QString words(QRandomGenerator &random, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << kWords.at(random.bounded(int(kWords.size())));
    return parts.join(' ');
}

Corpus generate(int size)
{
    QRandomGenerator random(42);
    Corpus corpus;
    SearchSources &s = corpus.sources;
    for (int i = 0; i < size; ++i) {
        QVariantMap r;
        const int shape = random.bounded(20);
        if (shape < 2) {
            r = {{"x", 1},
                 {"T", kApps.at(random.bounded(int(kApps.size()))) + " " + QString::number(i)},
                 {"P", QString("/usr/share/applications/app%1.desktop").arg(i)}};
            s.applications.append(r);
        } else if (shape < 14) {
            QString path = "/home/user";
            const int depth = 3 + random.bounded(6);
            for (int d = 0; d < depth; ++d)
                path += "/" + words(random, 1) + (d % 2 ? QString::number(random.bounded(99)) : "");
            const QString name = words(random, 2).replace(' ', '_') + "_" + QString::number(i)
                + (random.bounded(3) ? ".pdf" : ".odt");
            r = {{"x", 2}, {"T", name}, {"P", path + "/" + name}, {"D", 0}};
            s.files.append(r);
        } else if (shape < 16) {
            r = {{"x", 3},
                 {"T", words(random, 3) + " - Example " + QString::number(i)},
                 {"U",
                  QString("https://www.example.org/%1/page%2.html").arg(words(random, 1)).arg(i)}};
            s.bookmarks.append(r);
        } else if (shape < 19) {
            QString text;
            const int lines = 2 + random.bounded(8);
            for (int l = 0; l < lines; ++l)
                text += words(random, 4 + random.bounded(8)) + "\n";
            r = {{"x", 5}, {"T", words(random, 2) + " " + QString::number(i)}, {"t", text}};
            s.notes.append(r);
        } else {
            r = {{"x", 4},
                 {"T", "Émilie " + words(random, 1) + " Müller-Çelik " + QString::number(i)},
                 {"t", "Société Générale\nZürich"}};
            s.contacts.append(r);
        }
        corpus.titles << r.value("T").toString();
    }
    for (int i = 0; i < 60 && i < s.files.size(); ++i)
        s.recentItems.append(s.files.at(i * 7 % s.files.size()));
    s.priorityForApplications = 2;
    s.priorityForNotes = 1;
    return corpus;
}

// The user's applications and the documents of the included folders as the agent indexes them:
// folders two levels below ~/Documents, ten files each, listed in walk order.
Corpus generateDocuments(int size)
{
    QRandomGenerator random(7);
    Corpus corpus;
    SearchSources &s = corpus.sources;
    for (int i = 0; i < 200; ++i) {
        s.applications.append(
            QVariantMap{{"x", 1},
                        {"T", kApps.at(i % int(kApps.size())) + " " + QString::number(i)},
                        {"P", QString("/usr/share/applications/app%1.desktop").arg(i)}});
    }
    const QString root = QStringLiteral("/home/user/Documents");
    for (int made = 0; made < size;) {
        const QString folderName = words(random, 2);
        const QString folder =
            root + "/" + words(random, 1) + " " + QString::number(made / 1000) + "/" + folderName;
        s.documents.append(QVariantMap{{"x", 2}, {"T", folderName}, {"P", folder}, {"D", 1}});
        corpus.titles << folderName;
        ++made;
        for (int file = 0; file < 10 && made < size; ++file, ++made) {
            const QString name = words(random, 2).replace(' ', '-') + "-" + QString::number(made)
                + (random.bounded(3) ? ".pdf" : ".odt");
            s.documents.append(
                QVariantMap{{"x", 2}, {"T", name}, {"P", folder + "/" + name}, {"D", 0}});
            corpus.titles << name;
        }
    }
    s.priorityForApplications = 2;
    return corpus;
}

void print(const QByteArray &name, double value, const char *unit)
{
    Bench::print(name.constData(), value, unit);
}

// The goals of the figures that have one, printed beside them as NAME_target.
void printTarget(const QByteArray &name, int size, const char *suffix)
{
    struct Target {
        int size;
        const char *figure;
        double value;
        const char *unit;
    };
    static const Target targets[] = {
        {100000, "2words", 2, "ms"},
        {1000000, "2words", 20, "ms"},
        {1000000, "1word", 40, "ms"},
        {100000, "empty", 5, "ms"},
        {1000000, "empty", 50, "ms"},
        {100000, "prepared_per_record", 100, "B"},
        {1000000, "prepared_per_record", 100, "B"},
    };
    for (const Target &target : targets) {
        if (target.size == size && name.endsWith(QByteArray("_") + target.figure))
            print(name + suffix + "_target", target.value, target.unit);
    }
}

// Asked quietly: the version line must not mix with the figures.
bool haveFzf()
{
    QProcess fzf;
    fzf.start("fzf", {"--version"});
    return fzf.waitForFinished(10000) && fzf.exitStatus() == QProcess::NormalExit
        && fzf.exitCode() == 0;
}

double fzfMedian(const QString &file, const QString &query, int runs, qsizetype *lines)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QProcess fzf;
        fzf.setStandardInputFile(file);
        QElapsedTimer timer;
        timer.start();
        fzf.start("fzf", {"--filter", query});
        if (!fzf.waitForFinished(120000))
            return -1;
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        *lines = fzf.readAllStandardOutput().count('\n');
    }
    return Bench::stats(ms).median;
}

// ---- korvale-search as a whole process ----

constexpr char kInPrivateSession[] = "KORVALE_BENCH_SEARCH_SESSION";

struct ProcessRun {
    double ms = 0;
    QByteArray out;
    int exitCode = -1;
};

ProcessRun runTimed(const QString &program, const QStringList &arguments, const QString &input = {})
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(120000);
    ProcessRun run;
    run.ms = double(timer.nsecsElapsed()) / 1e6;
    run.out = process.readAllStandardOutput();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// The generated records as the user's stored lists. The agent reads bookmarks and contacts live
// from other programs and keeps them in memory only, so here they are stored as notes of the
// same titles and texts.
void storeCorpus(const Corpus &corpus)
{
    const SearchSources &s = corpus.sources;
    QVariantList notes = s.notes;
    for (const QVariantList *list : {&s.bookmarks, &s.contacts}) {
        for (const QVariant &record : *list) {
            QVariantMap note = record.toMap();
            note.insert("x", 5);
            if (note.contains("U"))
                note.insert("t", note.take("U"));
            notes.append(note);
        }
    }
    CommonKorvaleClass::saveListInFile(s.applications, DataFileName::Applications);
    CommonKorvaleClass::saveListInFile(s.files, DataFileName::Documents);
    CommonKorvaleClass::saveListInFile(notes, DataFileName::Notes);
    SharedPreferences preferences(SharedPreferences::defaultPath());
    preferences.setValue("LastItemsLaunched", s.recentItems);
    preferences.setValue("PriorityForApplications", s.priorityForApplications);
    preferences.setValue("PriorityForNotes", s.priorityForNotes);
    preferences.synchronize();
}

bool agentAnswers()
{
    QDBusMessage call = QDBusMessage::createMethodCall("org.korvale.Daemon", "/org/korvale/Search",
                                                       "org.korvale.Search", "Search");
    call << QString("x") << 0 << QString("lines");
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000).type()
        == QDBusMessage::ReplyMessage;
}

// Runs in a private home on a private bus (dbus-run-session): stores the corpus, starts the agent
// off screen, waits until it and the files list the same records, then times the three programs
// in turn, so that the machine's load falls on each alike.
int processBench(int size, int runs)
{
    QTemporaryDir home;
    const QString root = home.path();
    for (const auto &[name, sub] :
         QList<QPair<const char *, QString>>{{"HOME", ""},
                                             {"XDG_CONFIG_HOME", "/.config"},
                                             {"XDG_DATA_HOME", "/.local/share"},
                                             {"XDG_CACHE_HOME", "/.cache"},
                                             {"XDG_STATE_HOME", "/.local/state"},
                                             {"XDG_RUNTIME_DIR", "/run"}}) {
        QDir().mkpath(root + sub);
        qputenv(name, (root + sub).toUtf8());
    }
    QFile::setPermissions(root + "/run",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const Corpus corpus = generate(size);
    storeCorpus(corpus);

    const QString bin = QCoreApplication::applicationDirPath();
    const QString search = bin + "/korvale-search";
    QProcess agent;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    agent.setProcessEnvironment(environment);
    agent.setStandardOutputFile(root + "/agent.log");
    agent.setStandardErrorFile(root + "/agent.log", QIODevice::Append);
    agent.start(bin + "/korvale-daemon", {});
    auto stop = qScopeGuard([&agent] {
        agent.terminate();
        if (!agent.waitForFinished(10000))
            agent.kill();
        agent.waitForFinished(2000);
    });
    QDeadlineTimer deadline(120000);
    while (!agentAnswers()) {
        if (deadline.hasExpired() || agent.state() == QProcess::NotRunning) {
            std::fprintf(stderr, "bench_search: the agent did not come up\n");
            return 1;
        }
        QThread::msleep(100);
    }
    // Its scans may still change the stored lists: wait until the agent and the files agree on
    // every record twice in a row.
    QByteArray everything;
    for (int agreed = 0; agreed < 2;) {
        const ProcessRun fromAgent = runTimed(search, {""});
        const ProcessRun fromFiles = runTimed(search, {"--files", ""});
        agreed = fromAgent.out == fromFiles.out && fromAgent.out == everything ? agreed + 1 : 0;
        everything = fromFiles.out;
        if (deadline.hasExpired()) {
            const QList<QByteArray> a = fromAgent.out.split('\n'), f = fromFiles.out.split('\n');
            for (qsizetype i = 0; i < std::min(a.size(), f.size()); ++i) {
                if (a.at(i) != f.at(i)) {
                    std::fprintf(stderr, "line %lld: agent \"%s\", files \"%s\"\n", qlonglong(i),
                                 a.at(i).constData(), f.at(i).constData());
                    break;
                }
            }
            std::fprintf(stderr, "bench_search: the agent and the files do not agree\n");
            return 1;
        }
        QThread::msleep(500);
    }
    // fzf reads the titles of exactly the records searched, one per line.
    QTemporaryFile titles;
    titles.open();
    qsizetype records = 0;
    for (const QByteArray &line : everything.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 2)
            continue;
        titles.write(fields.at(1) + '\n');
        ++records;
    }
    titles.flush();

    const QByteArray prefix = "search_process_" + QByteArray::number(size) + "_";
    print(prefix + "records", double(records), "records");
    // The floor every run pays: loading the program and Qt, an application object, no search.
    std::vector<double> startup;
    for (int i = 0; i < runs; ++i)
        startup.push_back(runTimed(search, {"--type", "none"}).ms);
    print(prefix + "startup_median", Bench::stats(startup).median, "ms");

    // "nothing" finds no record: what a run costs apart from the results.
    const QList<QPair<const char *, QString>> queries = {
        {"nothing", "qzxj"}, {"1word", "proj"}, {"2words", "proj rep"}};
    for (const auto &[name, query] : queries) {
        std::vector<double> withAgent, fromFiles, fzf;
        qsizetype found = 0, fzfFound = 0;
        bool same = true;
        for (int i = 0; i < runs + 2; ++i) {
            const ProcessRun a = runTimed(search, {query});
            const ProcessRun f = runTimed(search, {"--files", query});
            const ProcessRun z = runTimed("fzf", {"--filter", query}, titles.fileName());
            same = same && a.out == f.out && a.exitCode == 0;
            found = a.out.count('\n');
            fzfFound = z.out.count('\n');
            if (i < 2)
                continue; // warming the page cache
            withAgent.push_back(a.ms);
            fromFiles.push_back(f.ms);
            fzf.push_back(z.ms);
        }
        const QByteArray label = prefix + name;
        const Bench::Stats agentStats = Bench::stats(withAgent);
        const Bench::Stats filesStats = Bench::stats(fromFiles);
        const Bench::Stats fzfStats = Bench::stats(fzf);
        print(label + "_found", double(found), "records");
        print(label + "_same_output", same ? 1 : 0, "bool");
        print(label + "_agent_median", agentStats.median, "ms");
        print(label + "_agent_p95", agentStats.p95, "ms");
        print(label + "_files_median", filesStats.median, "ms");
        print(label + "_files_p95", filesStats.p95, "ms");
        print(label + "_fzf_found", double(fzfFound), "lines");
        print(label + "_fzf_median", fzfStats.median, "ms");
        print(label + "_fzf_p95", fzfStats.p95, "ms");
        print(label + "_fzf_ratio_agent", fzfStats.median / agentStats.median, "x");
        print(label + "_fzf_ratio_files", fzfStats.median / filesStats.median, "x");
    }
    return 0;
}

// The whole-process figures need their own bus, so that the agent is this run's alone.
int processBenchInPrivateSession(int size)
{
    if (qEnvironmentVariableIsSet(kInPrivateSession))
        return processBench(size, 21);
    if (!haveFzf()) {
        std::fprintf(stderr, "bench_search: the whole-process figures need fzf\n");
        return 1;
    }
    QProcess session;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kInPrivateSession, "1");
    session.setProcessEnvironment(environment);
    session.setProcessChannelMode(QProcess::ForwardedChannels);
    session.start(
        "dbus-run-session",
        {"--", QCoreApplication::applicationFilePath(), "--process", QString::number(size)});
    if (!session.waitForFinished(-1) || session.exitStatus() != QProcess::NormalExit)
        return 1;
    return session.exitCode();
}

// The pass figures of one corpus, printed under `prefix` (as "search_100000_").
void benchCorpus(const Corpus &corpus, int size, const QByteArray &prefix, bool withFzf)
{
    const QList<QPair<const char *, QString>> queries = {
        {"1word", "proj"},    {"2words", "proj rep"}, {"3words", "proj rep café"},
        {"common_word", "-"}, {"nothing", "qzxj"},    {"empty", ""}};
    PreparedListCache cache;
    const std::atomic<bool> stop{false};
    SearchPass pass(cache, 2);

    QElapsedTimer prepare;
    prepare.start();
    pass.run(corpus.sources, 0, "x", {}, stop);
    const double prepareMs = double(prepare.nsecsElapsed()) / 1e6;
    print(prefix + "prepare", prepareMs, "ms");
    print(prefix + "prepared_memory", double(cache.memoryBytes()) / 1048576.0, "MiB");
    print(prefix + "prepared_per_record", double(cache.memoryBytes()) / double(size), "B");
    printTarget(prefix + "prepared_per_record", size, "");

    QTemporaryFile titles;
    titles.open();
    titles.write(corpus.titles.join('\n').toUtf8() + "\n");
    titles.flush();

    int runs = size >= 1000000 ? 11 : (size >= 100000 ? 31 : 101);
    // Fewer runs where every instruction counts (callgrind): KORVALE_BENCH_SEARCH_RUNS.
    if (const int fixed = qEnvironmentVariableIntValue("KORVALE_BENCH_SEARCH_RUNS"); fixed > 0)
        runs = fixed;
    // Only some queries and only the pass, for a profile of one kind of pass:
    // KORVALE_BENCH_SEARCH_QUERIES=1word,2words.
    const QStringList only =
        qEnvironmentVariable("KORVALE_BENCH_SEARCH_QUERIES").split(',', Qt::SkipEmptyParts);
    for (const auto &[name, query] : queries) {
        if (!only.isEmpty() && !only.contains(QLatin1String(name)))
            continue;
        FoundItems shown;
        qsizetype found = 0;
        const Bench::Stats stats = Bench::stats(Bench::timeRuns(runs, [&] {
            SearchPass::Result result = pass.run(corpus.sources, 0, query, {}, stop);
            found = result.items.size();
            shown = std::move(result.items); // the hand-over
        }));
        const QByteArray label = prefix + name;
        print(label + "_found", double(found), "records");
        print(label + "_median", stats.median, "ms");
        print(label + "_p95", stats.p95, "ms");
        printTarget(prefix + name, size, "_median");
        if (query.isEmpty()) {
            // The kept result is what a repeated empty query shows; a priority changed on
            // every run makes each rank afresh from the prepared lists and their title order.
            SearchSources changing = corpus.sources;
            const Bench::Stats fresh = Bench::stats(Bench::timeRuns(runs, [&] {
                changing.priorityForFiles = 1 - changing.priorityForFiles;
                shown = pass.run(changing, 0, query, {}, stop).items;
            }));
            print(label + "_fresh_median", fresh.median, "ms");
            print(label + "_fresh_p95", fresh.p95, "ms");
        }
        if (!only.isEmpty())
            continue;
        // What the agent adds to answer korvale-search: the printed lines of the results.
        qsizetype bytes = 0;
        const Bench::Stats printing = Bench::stats(Bench::timeRuns(
            std::max(3, runs / 4), [&] { bytes = SearchResultText::lines(shown).size(); }));
        print(label + "_lines_median", printing.median, "ms");
        print(label + "_lines_size", double(bytes) / 1024.0, "KiB");
        if (withFzf && !query.isEmpty()) {
            qsizetype lines = 0;
            const double fzf = fzfMedian(titles.fileName(), query, size >= 1000000 ? 3 : 5, &lines);
            print(label + "_fzf_found", double(lines), "lines");
            print(label + "_fzf_median", fzf, "ms");
            print(label + "_fzf_ratio", fzf / stats.median, "x");
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // bench_search --process [RECORDS]: only the whole-process figures.
    if (argc > 1 && QByteArray(argv[1]) == "--process")
        return processBenchInPrivateSession(argc > 2 ? QByteArray(argv[2]).toInt() : 100000);
    const bool withFzf = haveFzf();
    // bench_search --documents [RECORDS]: applications and the included folders' documents.
    if (argc > 1 && QByteArray(argv[1]) == "--documents") {
        const int size = argc > 2 ? QByteArray(argv[2]).toInt() : 100000;
        benchCorpus(generateDocuments(size), size,
                    "search_documents_" + QByteArray::number(size) + "_", withFzf);
        return 0;
    }
    QList<int> sizes = {10000, 100000, 1000000};
    if (argc > 1) { // bench_search [SIZE...]
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QByteArray(argv[i]).toInt();
    }
    for (const int size : sizes)
        benchCorpus(generate(size), size, QByteArray("search_") + QByteArray::number(size) + "_",
                    withFzf);
    // Sizes given: the pass figures only.
    return argc > 1 ? 0 : processBenchInPrivateSession(100000);
}
