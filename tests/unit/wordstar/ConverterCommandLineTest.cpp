#include "wordstar/ConverterCommandLine.h"

#include <gtest/gtest.h>

namespace kelvara::wordstar {
namespace {

ConverterRequest parse(const std::vector<std::string>& arguments) {
  const auto parsed = parseConverterCommandLine(arguments);
  EXPECT_TRUE(parsed.request) << parsed.error;
  return parsed.request.value_or(ConverterRequest{});
}

std::string errorOf(const std::vector<std::string>& arguments) {
  const auto parsed = parseConverterCommandLine(arguments);
  EXPECT_FALSE(parsed.request);
  return parsed.error;
}

TEST(ConverterCommandLine, ReadsTheDefaultCommandLineAsTheRunBuildsIt) {
  // ProgCmdLine1 + input + " " + ProgCmdLine2 + folder + "TEMPWPXX" + ProgCmdLine3.
  const std::string line = std::string("sfrm=WS7 in=") + "/archive/letter.ws" + " " +
                           " dfrm=MSWW7 out=" + "/out/" + "TEMPWPXX" + "TEMPWPXX";
  const ConverterRequest request = parse({line});
  EXPECT_EQ(request.sourceFormat, "WS7");
  EXPECT_EQ(request.input, "/archive/letter.ws");
  EXPECT_EQ(request.targetFormat, "MSWW7");
  EXPECT_EQ(request.output, "/out/TEMPWPXXTEMPWPXX");
  EXPECT_EQ(converterOutputPath(request.output), "/out/TEMPWPXX.rtf");
}

TEST(ConverterCommandLine, KeepsPathsWithBlanksWholeHoweverTheyArrive) {
  const std::string input =
      "/my archive/Br\xc3\xb6"
      "der  & Co/brief 1.ws";
  // One argument per piece, as a runner without a shell passes them.
  EXPECT_EQ(parse({"sfrm=WS7", "in=" + input, "dfrm=MSWW7", "out=/out dir/TEMPWPXXTEMPWPXX"}).input,
            input);
  EXPECT_EQ(parse({"sfrm=WS7 in=" + input + "  dfrm=MSWW7 out=/o/T"}).input, input);
  // Split at its blanks by a shell, a path with single blanks comes back together.
  EXPECT_EQ(parse({"in=/my", "archive/brief", "1.ws", "out=/out", "dir/T"}).output, "/out dir/T");
  // Quoted values, keys in any case and order.
  const ConverterRequest quoted = parse({"OUT=\"/o/x y\"", "In=\"/a b/c.ws\""});
  EXPECT_EQ(quoted.input, "/a b/c.ws");
  EXPECT_EQ(quoted.output, "/o/x y");
  EXPECT_EQ(quoted.sourceFormat, "");
  // A key only counts at the start of a word: "login=" is part of the path.
  EXPECT_EQ(parse({"in=/home/login=x/a.ws out=/o/T"}).input, "/home/login=x/a.ws");
}

TEST(ConverterCommandLine, SaysWhatIsMissingOrUnsupported) {
  EXPECT_EQ(errorOf({"sfrm=WS7 dfrm=MSWW7 out=/o/T"}), "no input file: in=<file> is missing");
  EXPECT_EQ(errorOf({"in=/a.ws"}), "no output name: out=<folder>/<name> is missing");
  EXPECT_EQ(errorOf({"in=  out=/o/T"}), "no input file: in=<file> is missing");
  EXPECT_EQ(errorOf({"sfrm=WP51 in=/a.wp out=/o/T"}),
            "source format WP51 is not WordStar: this converter reads sfrm=WS (WordStar 3 to 7)");
  EXPECT_EQ(errorOf({"in=/a.ws out=/o/"}), "out=/o/ names no file");
  EXPECT_EQ(errorOf({}), "no input file: in=<file> is missing");
  // Any WordStar generation and any target are taken; the output is RTF all the same.
  EXPECT_EQ(parse({"sfrm=ws4 in=/a.ws dfrm=RTF out=/o/T"}).sourceFormat, "ws4");
}

TEST(ConverterCommandLine, NamesTheOutputAsADosConverterWould) {
  EXPECT_EQ(converterOutputPath("/out/TEMPWPXX"), "/out/TEMPWPXX.rtf");
  EXPECT_EQ(converterOutputPath("/out/averylongname"), "/out/averylon.rtf");
  EXPECT_EQ(converterOutputPath("/out/report.docx"), "/out/report.doc");
  EXPECT_EQ(converterOutputPath("/out/a.b.c"), "/out/a.b.c");
  EXPECT_EQ(converterOutputPath("TEMPWPXXTEMPWPXX"), "TEMPWPXX.rtf");
  EXPECT_EQ(converterOutputPath("/dir with blanks/TEMPWPXXTEMPWPXX"),
            "/dir with blanks/TEMPWPXX.rtf");
  EXPECT_EQ(converterOutputPath("/out/"), "");
  EXPECT_EQ(converterOutputPath("/out/.rtf"), "");
}

}  // namespace
}  // namespace kelvara::wordstar
