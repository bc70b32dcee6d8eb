#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvara::wordstar {

// What the external-converter command line asks: "sfrm=WS7 in=<input> dfrm=MSWW7
// out=<folder>/TEMPWPXXTEMPWPXX" by default, as one argument or several. Keys are found at the
// start or after a blank, case-insensitively; a value runs to the next key, so a path with
// blanks survives whether it arrives whole or split. One pair of double quotes around a value
// is removed.
struct ConverterRequest {
  std::string sourceFormat;  // empty when not given
  std::string input;
  std::string targetFormat;  // empty when not given; the output is RTF whatever it says
  std::string output;        // as given: folder and base name
};

struct ParsedConverterCommandLine {
  std::optional<ConverterRequest> request;
  std::string error;
};

ParsedConverterCommandLine parseConverterCommandLine(const std::vector<std::string>& arguments);

// The file the converter writes for out=: in out='s folder, the base name cut to eight
// characters and the extension to three, as a DOS converter names its output, with "rtf" when
// out= has no extension. "/out/TEMPWPXXTEMPWPXX" gives "/out/TEMPWPXX.rtf", which the
// "TEMPWPXX.*" search finds. Empty when out= names no file.
std::string converterOutputPath(const std::string& out);

}  // namespace kelvara::wordstar
