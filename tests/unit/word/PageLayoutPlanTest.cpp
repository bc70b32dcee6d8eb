#include "word/lo/PageLayoutPlan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvara::word::lo {
namespace {

int32_t hmm(double points) {
  return hundredthsOfMmFromPoints(points);
}

// Letter, one-inch margins, no header or footer.
StyleGeometry letter() {
  StyleGeometry page;
  page.width = 21590;
  page.height = 27940;
  page.top = page.bottom = page.left = page.right = 2540;
  return page;
}

// The same page as Word sees it with a header 0.5 in from the edge.
StyleGeometry letterWithHeader() {
  StyleGeometry page = letter();
  page.headerOn = true;
  page.top = 1270;
  page.headerHeight = 1270;
  return page;
}

std::string refusal(const StyleGeometry& page, const PageSetupValues& values,
                    bool gutterOnTop = false) {
  try {
    planPageSetup(page, values, gutterOnTop);
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::Failed);
    return e.what();
  }
  return "accepted";
}

TEST(PageLayoutPlan, WordsMarginsReachTheBodyWhateverTheHeaderAndFooter) {
  PageSetupValues values;
  values.topMargin = 72;
  values.headerDistance = 30;
  values.bottomMargin = 54;
  values.footerDistance = 20;

  // Header on: the office's top margin reaches the header, the header's height the body.
  const StyleGeometry withHeader = planPageSetup(letterWithHeader(), values, false);
  EXPECT_EQ(withHeader.top, hmm(30));
  EXPECT_EQ(withHeader.top + withHeader.headerHeight, hmm(72));
  // Footer off: its distance has nowhere to go, and the body stays where Word's margin puts it.
  EXPECT_FALSE(withHeader.footerOn);
  EXPECT_EQ(withHeader.bottom, hmm(54));

  // Only the margin given: the header stays at its distance.
  PageSetupValues top;
  top.topMargin = 90;
  const StyleGeometry moved = planPageSetup(letterWithHeader(), top, false);
  EXPECT_EQ(moved.top, 1270);
  EXPECT_EQ(moved.top + moved.headerHeight, hmm(90));

  // Only the distance given: the body stays.
  PageSetupValues distance;
  distance.headerDistance = 10;
  const StyleGeometry nearer = planPageSetup(letterWithHeader(), distance, false);
  EXPECT_EQ(nearer.top, hmm(10));
  EXPECT_EQ(nearer.top + nearer.headerHeight, 2540);

  // A header further from the edge than the margin keeps the smallest height the office lays
  // out, below the header line, as Word lets a header push the body down.
  PageSetupValues beyond;
  beyond.headerDistance = 80;
  const StyleGeometry pushed = planPageSetup(letterWithHeader(), beyond, false);
  EXPECT_EQ(pushed.top, hmm(80));
  EXPECT_EQ(pushed.headerHeight, kMinHeaderFooterHeight);

  StyleGeometry footed = letter();
  footed.footerOn = true;
  footed.bottom = 1000;
  footed.footerHeight = 1540;
  const StyleGeometry footer = planPageSetup(footed, values, false);
  EXPECT_EQ(footer.bottom, hmm(20));
  EXPECT_EQ(footer.bottom + footer.footerHeight, hmm(54));
  EXPECT_EQ(footer.top, hmm(72));
}

TEST(PageLayoutPlan, PaperSizesLieAsThePageWillStand) {
  PageSetupValues a4;
  a4.paperSize = 7;
  const StyleGeometry portrait = planPageSetup(letter(), a4, false);
  EXPECT_EQ(portrait.width, hmm(595.2756));
  EXPECT_EQ(portrait.height, hmm(841.8898));

  StyleGeometry wide = letter();
  std::swap(wide.width, wide.height);
  const StyleGeometry across = planPageSetup(wide, a4, false);
  EXPECT_EQ(across.width, hmm(841.8898));
  EXPECT_EQ(across.height, hmm(595.2756));

  // Given with the orientation, the orientation decides; alone, the orientation turns the page.
  a4.orientation = 1;
  EXPECT_EQ(planPageSetup(letter(), a4, false), across);
  PageSetupValues turn;
  turn.orientation = 1;
  const StyleGeometry turned = planPageSetup(letter(), turn, false);
  EXPECT_EQ(turned.width, 27940);
  EXPECT_EQ(turned.height, 21590);
  turn.orientation = 0;
  EXPECT_EQ(planPageSetup(letter(), turn, false), letter());

  // A custom size is taken as given, then stood the way the orientation says.
  PageSetupValues custom;
  custom.paperSize = 41;
  custom.pageWidth = 300;
  custom.pageHeight = 400;
  const StyleGeometry own = planPageSetup(letter(), custom, false);
  EXPECT_EQ(own.width, hmm(300));
  EXPECT_EQ(own.height, hmm(400));
  custom.orientation = 1;
  const StyleGeometry ownAcross = planPageSetup(letter(), custom, false);
  EXPECT_EQ(ownAcross.width, hmm(400));
  EXPECT_EQ(ownAcross.height, hmm(300));
  // Custom without a size leaves the page as it is.
  PageSetupValues customOnly;
  customOnly.paperSize = 41;
  EXPECT_EQ(planPageSetup(letter(), customOnly, false), letter());
}

TEST(PageLayoutPlan, RefusesWhatThePageCannotTakeNamingTheValue) {
  PageSetupValues tall;
  tall.topMargin = 700;
  tall.bottomMargin = 100;
  EXPECT_EQ(refusal(letter(), tall),
            "Top margin 700 pt and bottom margin 100 pt leave less than 1 cm for the text on a "
            "page 792 pt high");
  PageSetupValues wide;
  wide.leftMargin = 520.5;
  EXPECT_EQ(refusal(letter(), wide),
            "Left margin 520.5 pt and right margin 72 pt leave less than 1 cm for the text on a "
            "page 612 pt wide");

  // The gutter counts on the side it is on.
  PageSetupValues gutter;
  gutter.gutter = 500;
  EXPECT_EQ(refusal(letter(), gutter),
            "Left margin 72 pt and right margin 72 pt with a gutter of 500 pt leave less than 1 cm "
            "for the text on a page 612 pt wide");
  EXPECT_EQ(refusal(letter(), gutter, true), "accepted");
  gutter.gutter = 700;
  EXPECT_EQ(refusal(letter(), gutter, true),
            "Top margin 72 pt and bottom margin 72 pt with a gutter of 700 pt leave less than 1 cm "
            "for the text on a page 792 pt high");

  // A header pushed below the body's space fails as well.
  PageSetupValues header;
  header.headerDistance = 780;
  EXPECT_EQ(refusal(letterWithHeader(), header),
            "Top margin 72 pt and bottom margin 72 pt leave less than 1 cm for the text on a page "
            "792 pt high");
  // Even for a page without a header, where the distance goes nowhere.
  header.headerDistance = 800;
  EXPECT_EQ(refusal(letter(), header), "Header distance 800 pt does not fit on a page 792 pt high");

  PageSetupValues negative;
  negative.rightMargin = -1;
  EXPECT_EQ(refusal(letter(), negative), "Right margin -1 pt is negative");
  PageSetupValues empty;
  empty.pageHeight = 0;
  EXPECT_EQ(refusal(letter(), empty), "Page height 0 pt is no page size");
  PageSetupValues huge;
  huge.bottomMargin = 3500;
  EXPECT_EQ(refusal(letter(), huge),
            "Bottom margin 3500 pt is larger than a margin can be (1155 mm)");
  PageSetupValues notANumber;
  notANumber.gutter = std::nan("");
  EXPECT_EQ(refusal(letter(), notANumber), "Gutter is not a number");

  PageSetupValues choice;
  choice.orientation = 2;
  EXPECT_EQ(refusal(letter(), choice), "Orientation 2 is neither portrait (0) nor landscape (1)");
  choice = {};
  choice.verticalAlignment = 4;
  EXPECT_EQ(refusal(letter(), choice), "Vertical alignment 4 is no alignment (0 to 3)");
  choice = {};
  choice.paperSize = -1;
  EXPECT_EQ(refusal(letter(), choice), "Paper size -1 is no paper size code (0 to 41)");
}

TEST(PageLayoutPlan, APageTheDocumentAlreadyHadIsNotJudged) {
  StyleGeometry cramped = letter();
  cramped.left = cramped.right = 10500;
  PageSetupValues layoutOnly;
  layoutOnly.mirrorMargins = true;
  layoutOnly.verticalAlignment = 1;
  EXPECT_EQ(planPageSetup(cramped, layoutOnly, false), cramped);
  PageSetupValues same;
  same.leftMargin = pointsFromHundredthsOfMm(10500);
  EXPECT_EQ(planPageSetup(cramped, same, false), cramped);
}

TEST(PageLayoutPlan, AFooterSwitchedOnKeepsTheBodyInPlace) {
  const StyleGeometry on = withFooterOn(letter(), hmm(kDefaultFooterDistancePoints));
  EXPECT_TRUE(on.footerOn);
  EXPECT_EQ(on.bottom, 1270);
  EXPECT_EQ(on.bottom + on.footerHeight, 2540);

  StyleGeometry narrow = letter();
  narrow.bottom = 600;
  const StyleGeometry nearer = withFooterOn(narrow, 1270);
  EXPECT_EQ(nearer.bottom, 600 - kMinHeaderFooterHeight);
  EXPECT_EQ(nearer.bottom + nearer.footerHeight, 600);

  StyleGeometry already = letter();
  already.footerOn = true;
  already.bottom = 500;
  already.footerHeight = 2040;
  EXPECT_EQ(withFooterOn(already, 1270), already);
}

}  // namespace
}  // namespace kelvara::word::lo

namespace kelvara::word::lo {
namespace {

TEST(PageLayoutPlan, AFooterSwitchedOnForPageNumbersKeepsTheBodyWhereTheMarginsPutIt) {
  PageSetupValues numbered;
  numbered.footerOn = true;
  const StyleGeometry on = planPageSetup(letter(), numbered, false);
  ASSERT_TRUE(on.footerOn);
  EXPECT_EQ(on.bottom, 1270);  // Word's default footer distance, 36 pt
  EXPECT_EQ(on.bottom + on.footerHeight, letter().bottom);

  // With Word's margins given, the footer sits at its distance and the body at the margin.
  numbered.bottomMargin = 72;
  numbered.footerDistance = 18;
  const StyleGeometry placed = planPageSetup(letter(), numbered, false);
  EXPECT_EQ(placed.bottom, 635);
  EXPECT_EQ(placed.bottom + placed.footerHeight, 2540);
}

}  // namespace
}  // namespace kelvara::word::lo
