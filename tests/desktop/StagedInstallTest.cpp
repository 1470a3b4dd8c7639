// The installed program: its files in their usual places, accepted by the desktop's validators,
// its file types recognised, its manuals readable.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>

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
        "share/mime/packages/orv-editor.xml",
        "share/man/man1/orv-editor.1.gz", "share/man/man1/orv-cli.1.gz",
        "share/man/man1/orv-ampsim.1.gz"})
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

TEST(StagedInstall, ManualPagesDescribeTheirOptions) {
  const ToolRun cli =
      run("man", {"-E", "ascii", "-l", "-P", "cat", staged("share/man/man1/orv-cli.1.gz")});
  EXPECT_EQ(cli.status, 0);
  EXPECT_TRUE(cli.output.contains("from-json")) << cli.output.toStdString();
  EXPECT_TRUE(cli.output.contains("--midi-api")) << cli.output.toStdString();
  const ToolRun editor =
      run("man", {"-E", "ascii", "-l", "-P", "cat", staged("share/man/man1/orv-editor.1.gz")});
  EXPECT_TRUE(editor.output.contains("--simulate")) << editor.output.toStdString();
  const ToolRun sim =
      run("man", {"-E", "ascii", "-l", "-P", "cat", staged("share/man/man1/orv-ampsim.1.gz")});
  EXPECT_TRUE(sim.output.contains("--model")) << sim.output.toStdString();
}

}  // namespace
