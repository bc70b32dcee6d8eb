#pragma once

#include <string>

#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "word/ConversionPipeline.h"

namespace kelvara::format {

// Writes the enabled values of the formatting parameters into each converted document:
// revision switches, user data, document-wide page values, font and paragraph format of the
// whole content, then section by section the page geometry of the record that matches the
// section's orientation, page numbers and the clean-ups of empty paragraphs at section bounds.
//
// It keeps no state between documents, so the offices of a pool may share one instance.
class DocumentFormatter : public word::FormattingStep {
 public:
  // engineVersion decides whether the revision options apply ("10.0" and "11.0" have them).
  DocumentFormatter(const FormatParameterSet& parameters, const std::string& engineVersion);

  void ApplyFormatting(const config::Settings& settings, word::DocumentEngine& engine,
                       word::Document& document, word::FormattingReport& report) override;

 private:
  void applyRevisions(word::Document& document) const;
  void applyUserData(const config::Settings& settings, word::DocumentEngine& engine) const;
  void applyGeneralPageSetup(word::Document& document) const;
  void applyFont(word::Document& document) const;
  void applyParagraphFormat(word::Document& document) const;
  void applySectionPageSetup(word::Document& document, int32_t section, bool landscape,
                             bool footerOn) const;

  const FormatParameterSet& parameters_;
  bool revisionRules_;
};

// The clean-ups at section bounds. Each looks at a bounded part of the section's text, so its
// cost does not grow with the section; a failure inside one is passed over.

// A portrait section that follows a landscape one: empty paragraphs at its start, followed by a
// page break, go with the break.
void RemoveEmptySectionStart(word::Document& document, int32_t section);
// Trailing empty paragraphs and blanks of a section go, but for the last one.
void RemoveTrailingMarks(word::Document& document, int32_t section);

}  // namespace kelvara::format
