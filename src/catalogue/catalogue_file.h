// The catalogue file: one row entry and one cell entry per further column, texts in
// the ANSI code page. Saves replace the file atomically; loads never read past the data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/row_list.h"
#include "platform/platform_ops.h"

namespace velkor {

// Byte-level codec. Texts are taken and given as stored (ANSI bytes).
std::string EncodeCatalogue(const std::vector<CatalogueRow>& rows, int columnCount);
// Cells before any row and cells past `columnCount` are ignored; a truncated last
// entry is dropped.
std::vector<CatalogueRow> DecodeCatalogue(std::string_view bytes, int columnCount);

bool SaveCatalogue(const RowList& list, const std::string& path, PlatformOps& ops);
void LoadCatalogue(RowList& list, const std::string& path, PlatformOps& ops);

}  // namespace velkor
