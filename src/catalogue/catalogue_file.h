// The catalogue file: one row entry and one cell entry per further column, texts in
// the ANSI code page. Saves replace the file atomically; loads never read past the data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_context.h"
#include "catalogue/row_list.h"
#include "platform/platform_ops.h"

namespace velkor {

// Beyond these a catalogue is not loaded: no one keeps that many profiles, and a list
// view filled with them would hold up every start for minutes.
inline constexpr uint64_t kMaxCatalogueBytes = 1 << 20;
inline constexpr size_t kMaxCatalogueRows = 10000;

// Byte-level codec. Texts are taken and given as stored (ANSI bytes).
std::string EncodeCatalogue(const std::vector<CatalogueRow>& rows, int columnCount);
// Cells before any row and cells past `columnCount` are ignored; a truncated last
// entry is dropped; decoding stops after `maxRows` rows.
std::vector<CatalogueRow> DecodeCatalogue(std::string_view bytes, int columnCount, size_t maxRows = SIZE_MAX);

// Texts the code page cannot hold are refused (false), never stored lossily; bytes a
// load could not convert are written back exactly as they were read.
bool SaveCatalogue(const RowList& list, const std::string& path, PlatformOps& ops);
// The program's own save: refused while an unreadable catalogue file stays in place.
bool SaveCatalogue(CatalogueContext& context);

enum class LoadOutcome { Loaded, Unreadable, TooLarge };
// Replaces the list's rows by the file's; leaves the list alone when the file cannot
// be read or is larger than the bounds above.
LoadOutcome LoadCatalogue(RowList& list, const std::string& path, PlatformOps& ops);

// True when a text holds bytes the code page could not convert: as a path it names
// no folder for certain.
bool HoldsRawBytes(const std::string& text);

}  // namespace velkor
