#pragma once

#include <com/sun/star/frame/XModel.hpp>

#include <string>

#include "word/lo/PageStyleWriter.h"
#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

// Word's centred page numbers on a section's pages: the footer of its page style is switched on
// (the body keeps its place) and gets a centred paragraph with the current page's number, in
// arabic figures; so do the even pages' footer when it is a separate one, and, with firstPage,
// the first page's footer when the first page has its own. A footer that already ends with such
// a number gets no second one, so sections sharing a page style number their pages once.
void addCentredPageNumbers(const css::uno::Reference<css::frame::XModel>& model,
                           const std::string& pageStyle, bool firstPage, PendingLayouts& pending);

}  // namespace kelvara::word::lo
