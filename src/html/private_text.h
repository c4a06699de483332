// Text from a log file or from the machine, made fit for a public page: the
// run report shows no address, GUID, user-info secret or folder of the
// server. Pure functions; any thread.
#pragma once
#include <string>

// `text` with every IPv4 or IPv6 address (a port, or the brackets of
// "[v6]:port", included) replaced by "[address]", every run of 32 or more
// hexadecimal digits by "[guid]", and the values of the user-info keys ip,
// cl_guid, guid, id and password ("\key\value") by "[address]", "[guid]" or
// "[password]".
std::string hide_private(const std::string& text);

// A log line as the report quotes it: hide_private, then cut to
// `max_chars` characters (UTF-8 sequences kept whole) with "[cut]" after.
std::string quote_for_report(const std::string& line, size_t max_chars = 200);

// The file name of a path (what follows its last "/"), private parts hidden.
std::string file_name_for_report(const std::string& path);
