#pragma once

#include <string>
#include <string_view>

// Full-text layouts whose markup hides the claims, rewritten for reading.
// Every byte keeps its offset and every line its number: markup turns into
// blanks.
//
// - A reissue: deleted matter ".[. ... .]." is blanked, and a claim deleted
//   whole keeps its number as "N. (Canceled)", so that the set still runs
//   from 1 and shows what the reissue cancelled; the markers of added matter
//   ".Iadd." and ".Iaddend." are blanked and their text kept.
// - Tagged full text: in the section that a line "CLMS" opens, the tags at
//   the lines' starts ("NUM  1.", "PAR  A pump", "PA1  a housing;") are
//   blanked, up to the next section tag alone on its line ("ABST", "DETD").
//
// - Exports field by field: a label line before each paragraph ("Claims
//   Text - CLTX (2):") is blanked.
//
// Returns false, and leaves Out alone, when Text has none of these.
bool UnmarkFullTextLayout(std::string_view Text, std::string& Out);

// Whether a line (without its leading blanks) shows one of these layouts:
// it starts with a reissue marker, is the tag "CLMS" or a field label. The reading looks at
// every line anyway; a search of the whole text would cost every text.
bool IsFullTextMarkupLine(std::string_view Line);

// A claim's text with the reissue markup inside it blanked ("claim .[.4.].
// .Iadd.6.Iaddend."), as UnmarkFullTextLayout does; false when it has none.
bool UnmarkReissueText(std::string_view Text, std::string& Out);
