#pragma once
// The print job of File > Print: the channel listing of the Print Channels
// dialog placed on pages. Lines are set in the printing font of the
// settings, from the top of the page down to half an inch above its bottom
// edge, value lines with their "N." label and their values at tab stops
// (a frame with more values than fit across the paper goes on in rows
// below); every page ends with the footer
// "Page N   " and the document's title.

#include <string>

class QPrinter;
class CC3d;
class CUserPrompt;
struct AppSettings;
struct CPrintChannelsRequest;

// Prints the listing on `printer` (a real printer, a PDF file or a print
// preview). Returns the number of pages printed: 0 when the printer (or the
// PDF file) could not be opened, which `prompt` is told when given.
int PrintChannelListing(QPrinter& printer, const CC3d& c3d, const CPrintChannelsRequest& request,
                        const AppSettings& settings, const std::string& title,
                        CUserPrompt* prompt = nullptr);
