// Text helpers of the HTTP routine: addresses, header lines and cookie lists. Letter
// case is folded for ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

// The text strictly between the first `start` and the next `end` after it, both
// found ignoring case; empty when either is missing. "#引号" in a marker stands
// for a double quote.
std::string TextBetween(std::string_view text, std::string_view start, std::string_view end);

// The trimmed text after the first ':'; empty without one.
std::string TextAfterColon(std::string_view text);

// Lower-cased host of an address ("http://" assumed without a scheme), without
// its ":port" unless `keepPort`.
std::string UrlHost(std::string_view address, bool keepPort);
// The port named after the host, else 443 for https and 80 otherwise. The value is
// taken as written, so it may lie outside 0..65535.
int UrlPort(std::string_view address);
// From the first '/' after the host to the end, query included; "/" without one.
std::string UrlObjectPath(std::string_view address);

// The trimmed text before the first '=' (the whole entry trimmed without one).
std::string CookieName(std::string_view entry);
// Keeps each entry at its first occurrence.
std::string DropDuplicateEntries(std::string_view text, std::string_view separator);
// Response cookies first, in their order, then the earlier cookies the response did
// not replace; "=deleted" cookies go. Both texts lose their spaces.
void MergeCookies(std::string& cookies, std::string& responseCookies);

}  // namespace velkor
