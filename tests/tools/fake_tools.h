#pragma once

// Contract of the two fake command-line tools that stand in for the Musepack
// decoder and the MP3 encoder in the Wine tests.
//
// Both are ANSI programs, as the usual builds of the real tools are: they
// take their arguments from the ANSI command line and open files with fopen,
// so a name the ANSI code page cannot spell reaches them as "?" and opens
// nothing. Both tools
//   - append one record line to the file named by BRAMKOT_TOOL_LOG (nothing
//     when it is unset): the tool name ("decoder" or "encoder"), then every
//     argument after the program name, as the C runtime splits the ANSI
//     command line, each preceded by a TAB and written as UTF-8; the line
//     ends with a single LF;
//   - put standard input and output in binary mode;
//   - exit with code 3 at once after writing the record, without reading or
//     writing anything else, when BRAMKOT_FAIL_DECODER (or
//     BRAMKOT_FAIL_ENCODER) is set to a non-empty value; the encoder then
//     says so on standard error: "encoder: failing, as BRAMKOT_FAIL_ENCODER
//     asks";
//   - sleep BRAMKOT_DELAY_DECODER_MS (or BRAMKOT_DELAY_ENCODER_MS)
//     milliseconds before they write their output, when it is set.
// With BRAMKOT_CHILD_MARKER set, fake_decoder leaves a detached copy of
// itself holding its standard output, which after 30 s creates the file the
// variable names and exits. With BRAMKOT_ENCODER_WRITES set, fake_encoder
// writes the bytes of the file it names instead of its input (and exits 0).
//
// fake_decoder opens its input, the argument before its last ("-"), and
// exits 2 when it cannot; when the input starts with kCorruptInput it writes
// nothing and exits 255, as a decoder does on a damaged file; otherwise it
// writes FakeDecoderOutput() to standard output and exits 0.
// fake_encoder reads standard input to its end, writes those bytes to the
// file named by its last argument (created or truncated) and exits 0, or 4
// when it cannot create that file.

#include <string>

inline constexpr const char kToolLogVariable[] = "BRAMKOT_TOOL_LOG";
inline constexpr const char kCorruptInput[] = "corrupt";
inline constexpr const char kChildMarkerVariable[] = "BRAMKOT_CHILD_MARKER";
inline constexpr const char kEncoderWritesVariable[] = "BRAMKOT_ENCODER_WRITES";

// Bytes that text-mode streams and command processors like to change: the
// end-of-file mark 0x1A first, CR LF pairs, lone LF and CR, NUL and 0xFF,
// every byte value in several rotations, tens of kilobytes so that no single
// buffer holds it all, and a lone CR as the very last byte.
inline std::string FakeDecoderOutput() {
    static const char kAwkward[] = {'\x1a', '\r', '\n', '\n',   '\0', '\xff', '\r', '\r',
                                    '\n',   '\n', '\r', '\x1a', '\0', '\0',   '\r', '\n'};
    std::string bytes;
    for (int round = 0; round < 96; ++round) {
        bytes.append(kAwkward, sizeof kAwkward);
        for (int value = 0; value < 256; ++value)
            bytes += static_cast<char>((value * 7 + round) & 0xFF);
    }
    bytes += '\r';
    return bytes;
}
