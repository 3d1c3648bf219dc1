// The command line as a shell user meets it: exit codes, what goes to
// standard output and standard error, and the files it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/table.h"
#include "support/test_files.h"

namespace kw {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs kinweave-cli in `dir` with the arguments (already shell-quoted).
CliRun RunCli(const TempDir& dir, const std::string& arguments) {
  std::string command = "cd '" + dir.path().string() + "' && '" + KINWEAVE_CLI + "' " + arguments +
                        " >cli.out 2>cli.err </dev/null";
  int status = std::system(command.c_str());
  CliRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = test::ReadFile(dir.File("cli.out"));
  run.err = test::ReadFile(dir.File("cli.err"));
  return run;
}

TEST(Cli, MergesTheDemoFilesAndSaysWhere) {
  TempDir dir;
  test::CopyExamples(dir);
  CliRun run = RunCli(dir, "datei1.ged datei2.ged ergebnis");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Fertig: ergebnis.ged wurde erzeugt\nBericht: ergebnis.html\n");
  EXPECT_NE(run.err.find("Lade datei1.ged ...\n"), std::string::npos);
  EXPECT_NE(run.err.find("Hinzugef\xC3\xBCgte exportieren...\n"), std::string::npos);  // UTF-8
  EXPECT_EQ(run.err.find("erledigt"), std::string::npos);  // no progress line off a terminal
  EXPECT_TRUE(fs::exists(dir.File("ergebnis.ged")));
  EXPECT_TRUE(fs::exists(dir.File("ergebnis.log")));
  EXPECT_TRUE(fs::exists(dir.File("ergebnis.html")));
  EXPECT_TRUE(fs::exists(dir.File("ergebnis-paare.csv")));
  EXPECT_FALSE(fs::exists(dir.File("log")));
}

TEST(Cli, DefaultOutputNameAndDirectoryOfDatei1) {
  TempDir dir;
  fs::create_directory(dir.File("a"));
  test::CopyExamples(dir, "a/eins.ged", "zwei.ged");
  CliRun run = RunCli(dir, "a/eins.ged zwei.ged");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(dir.File("a/merge.ged")));
  EXPECT_TRUE(fs::exists(dir.File("a/merge.log")));
  EXPECT_NE(test::ReadFile(dir.File("a/merge.log")).find("\nzwei.ged\n"),
            std::string::npos);  // both loads log beside input file 1
  EXPECT_FALSE(fs::exists(dir.File("log")));
}

TEST(Cli, UsageAndWrongCalls) {
  TempDir dir;
  CliRun help = RunCli(dir, "--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Aufruf: kinweave-cli DATEI1 DATEI2 [AUSGABEDATEI]\n", 0), 0u);
  EXPECT_EQ(help.err, "");
  for (const char* wrong : {"", "nur-eine.ged", "a.ged b.ged c.ged d.ged", "--gibtsnicht a.ged b.ged"}) {
    CliRun run = RunCli(dir, wrong);
    EXPECT_EQ(run.exitCode, 2) << wrong;
    EXPECT_EQ(run.out, "") << wrong;
    EXPECT_EQ(run.err.rfind("Aufruf: kinweave-cli", 0), 0u) << wrong;
  }
}

TEST(Cli, BadInputsGiveAClearMessageAndLeaveTheInputsAlone) {
  TempDir dir;
  test::CopyExamples(dir);
  fs::copy_file(dir.File("datei1.ged"), dir.File("falsch.Ged"));
  fs::create_directory(dir.File("ordner.ged"));
  test::WriteFile(dir.File("leer.ged"), "");
  test::WriteFile(dir.File("bild.ged"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  test::WriteFile(dir.File("brief.ged"), "Lieber Onkel,\nanbei der Stammbaum.\n");
  std::string before = test::ReadFile(dir.File("datei1.ged"));
  for (const test::TableRow& row : test::ReadTable("cli-refusals", 2)) {
    CliRun run = RunCli(dir, row.Raw(0));
    EXPECT_EQ(run.exitCode, 1) << row;
    EXPECT_NE(run.err.find(row.Bytes(1)), std::string::npos) << row << "\n" << run.err;
    EXPECT_EQ(run.err.find("FEHLER"), run.err.rfind("FEHLER")) << row << "\n" << run.err;
    EXPECT_EQ(run.out, "") << row;
    EXPECT_FALSE(fs::exists(dir.File("merge.ged"))) << row;
    EXPECT_FALSE(fs::exists(dir.File("merge.html"))) << row;
  }
  EXPECT_EQ(test::ReadFile(dir.File("datei1.ged")), before);
}


// A full disk, a quota or a file size limit: the run says why in German,
// ends with 1, and leaves the earlier output as it was and nothing beside
// it. `ulimit -f 1` allows 1,024 bytes a file; the output and the log of
// the demo pair are larger.
TEST(Cli, AWriteThatFailsIsAFailureAndLeavesTheEarlierOutput) {
  test::TempDir dir;
  test::CopyExamples(dir);
  test::WriteFile(dir.File("out.ged"), "fr\xFCher");
  std::string command = "cd '" + dir.path().string() + "' && (ulimit -f 1; exec '" + KINWEAVE_CLI +
                        "' datei1.ged datei2.ged out.ged) >cli.out 2>cli.err </dev/null";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status)) << "killed by the file size limit";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::string err = test::ReadFile(dir.File("cli.err"));
  EXPECT_NE(err.find("FEHLER: Fehler beim Schreiben von "), std::string::npos) << err;
  EXPECT_NE(err.find("Datei zu gro\xC3\x9F"), std::string::npos) << err;  // UTF-8 on the console
  EXPECT_EQ(test::ReadFile(dir.File("cli.out")), "");  // no "Fertig"
  EXPECT_EQ(test::ReadFile(dir.File("out.ged")), "fr\xFCher");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  // The log of the failed run stays where it was written, beside input file 1.
  EXPECT_EQ(names, (std::vector<std::string>{"cli.err", "cli.out", "datei1.ged", "datei2.ged",
                                             "log", "out.ged"}));
  EXPECT_EQ(test::ReadFile(dir.File("log")).find("wurde erzeugt"), std::string::npos);
}

}  // namespace
}  // namespace kw
