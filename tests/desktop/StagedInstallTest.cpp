// The installed program: its files in their usual places, accepted by the desktop's validators,
// its file types recognised, its manuals readable.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

namespace {

const QString kPrefix = QStringLiteral(ORV_STAGE_PREFIX);
const QString kAppId = QStringLiteral("net.tavolin.OrvEditor");

QString staged(const QString& relative) {
  return QDir(kPrefix).filePath(relative);
}

struct ToolRun {
  int status = -1;
  QString output;
};

// Runs a tool and collects what it printed; a tool that cannot start fails the test.
ToolRun run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  ToolRun r;
  if (!p.waitForStarted()) {
    ADD_FAILURE() << program.toStdString() << " is missing (scripts/setup installs it)";
    return r;
  }
  p.waitForFinished(60000);
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.output = QString::fromUtf8(p.readAll());
  return r;
}

TEST(StagedInstall, LaysOutProgramsDocumentsAndDesktopFiles) {
  for (const char* file :
       {"bin/orv-editor", "bin/orv-cli", "bin/orv-ampsim", "share/orv-editor/ORV_Editor_en.pdf",
        "share/orv-editor/ORV_Editor_jp.pdf", "share/orv-editor/presets/Starter.ZBL",
        "share/mime/packages/orv-editor.xml", "share/man/man1/orv-editor.1.gz",
        "share/man/man1/orv-cli.1.gz", "share/man/man1/orv-ampsim.1.gz"})
    EXPECT_TRUE(QFile::exists(staged(file))) << file;
  EXPECT_TRUE(QFileInfo(staged("bin/orv-editor")).isExecutable());
  EXPECT_TRUE(QFile::exists(staged("share/applications/" + kAppId + ".desktop")));
  EXPECT_TRUE(QFile::exists(staged("share/metainfo/" + kAppId + ".metainfo.xml")));
  for (const char* icon : {"apps/orv-editor", "mimetypes/application-x-orv-library",
                           "mimetypes/application-x-orv-patch"})
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
      const QString path = staged(QString("share/icons/hicolor/%1x%1/%2.png").arg(size).arg(icon));
      EXPECT_EQ(QImage(path).size(), QSize(size, size)) << path.toStdString();
    }
}

TEST(StagedInstall, DesktopEntryAndMetainfoPassTheValidators) {
  const ToolRun entry =
      run("desktop-file-validate", {staged("share/applications/" + kAppId + ".desktop")});
  EXPECT_EQ(entry.status, 0) << entry.output.toStdString();
  const ToolRun meta = run("appstreamcli", {"validate", "--no-net",
                                            staged("share/metainfo/" + kAppId + ".metainfo.xml")});
  EXPECT_EQ(meta.status, 0) << meta.output.toStdString();
}

// Recognised by content whatever the name, and by name when the content says nothing.
TEST(StagedInstall, MimeDatabaseKnowsLibrariesAndPatches) {
  qputenv("XDG_DATA_DIRS", (staged("share") + ":/usr/share").toLocal8Bit());
  QTemporaryDir dir;
  auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return dir.filePath(name);
  };
  const QByteArray library = "VKRB01" + QByteArray(26102, '\0');
  const QByteArray patch = "VKRP" + QByteArray(261, '\0');
  QMimeDatabase db;
  EXPECT_EQ(db.mimeTypeForFile(write("backup.bin", library)).name(), "application/x-orv-library");
  EXPECT_EQ(db.mimeTypeForFile(write("sound.dat", patch)).name(), "application/x-orv-patch");
  EXPECT_EQ(db.mimeTypeForFile("Live.ZBL", QMimeDatabase::MatchExtension).name(),
            "application/x-orv-library");
  EXPECT_EQ(db.mimeTypeForFile("clean.zbp", QMimeDatabase::MatchExtension).name(),
            "application/x-orv-patch");
  const QMimeType type = db.mimeTypeForName("application/x-orv-library");
  EXPECT_EQ(type.iconName(), "application-x-orv-library");
}

TEST(StagedInstall, HelpDocumentsHavePagesAndTheirHeadings) {
  const struct {
    const char* file;
    QStringList headings;
  } documents[] = {
      {"ORV_Editor_en.pdf",
       {"ORV Editor User's Manual", "Getting Started", "The Library", "MIDI Set-up",
        "Troubleshooting", "orv-cli", "orv-ampsim"}},
      {"ORV_Editor_jp.pdf",
       {"ORV Editor 取扱説明書", "はじめに", "ライブラリー", "MIDI の設定",
        "トラブルシューティング"}},
  };
  for (const auto& doc : documents) {
    const QString path = staged(QString("share/orv-editor/") + doc.file);
    const ToolRun info = run("pdfinfo", {path});
    ASSERT_EQ(info.status, 0) << info.output.toStdString();
    const QString pages = info.output.section("Pages:", 1).section('\n', 0, 0).trimmed();
    EXPECT_GE(pages.toInt(), 3) << doc.file;
    const ToolRun text = run("pdftotext", {"-enc", "UTF-8", path, "-"});
    for (const QString& heading : doc.headings)
      EXPECT_TRUE(text.output.contains(heading)) << doc.file << ": " << heading.toStdString();
  }
}

// A manual page as man shows it, with what man and groff warned about it.
ToolRun manPage(const QString& program) {
  const QString page = staged("share/man/man1/" + program + ".1.gz");
  const ToolRun warnings =
      run("sh", {"-c", "man --warnings -E UTF-8 -l \"$0\" 2>&1 >/dev/null", page});
  EXPECT_EQ(warnings.output, QString()) << program.toStdString();
  return run("man", {"-E", "ascii", "-l", "-P", "cat", page});
}

// The headings in the order given, each on a line of its own.
void expectSections(const QString& page, const QStringList& sections) {
  qsizetype at = 0;
  for (const QString& section : sections) {
    const qsizetype found = page.indexOf("\n" + section + "\n", at);
    EXPECT_GE(found, 0) << section.toStdString() << " missing or out of order in\n"
                        << page.toStdString();
    at = std::max(at, found);
  }
}

TEST(StagedInstall, ManualPagesHaveTheirSectionsOptionsAndCommands) {
  const ToolRun editor = manPage("orv-editor");
  EXPECT_EQ(editor.status, 0);
  expectSections(editor.output, {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                 "FILES", "EXAMPLES", "SEE ALSO"});
  for (const char* text :
       {"--simulate", "ORV Editor.ini.bak", "share/orv-editor/presets/Starter.ZBL",
        "ORV_Editor_jp.pdf", "orv-cli(1)"})
    EXPECT_TRUE(editor.output.contains(text)) << text;

  // Each way to call orv-cli, and each way to call one command, on a line of its own.
  const ToolRun cli = manPage("orv-cli");
  expectSections(cli.output, {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "COMMANDS",
                              "EXIT STATUS", "EXAMPLES", "SEE ALSO"});
  for (const char* line :
       {"\n       orv-cli COMMAND ARGUMENTS...\n       orv-cli COMMAND --help\n",
        "\n       show LIB.ZBL SLOT\n       show PATCH.ZBP\n", "\n       sysex decode HEX...\n",
        "\n       --midi-api alsa|jack|any\n", "\n       from-json [--force] IN.json OUT\n"})
    EXPECT_TRUE(cli.output.contains(line)) << line << " in\n" << cli.output.toStdString();

  const ToolRun sim = manPage("orv-ampsim");
  expectSections(sim.output, {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "COMMANDS",
                              "EXIT STATUS", "EXAMPLES", "SEE ALSO"});
  for (const char* line : {"\n       --model 0..4\n", "\n       knob ID VALUE\n", "\n       help "})
    EXPECT_TRUE(sim.output.contains(line)) << line << " in\n" << sim.output.toStdString();
}

}  // namespace
