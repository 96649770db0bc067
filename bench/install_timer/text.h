// The few conversions of the tool's texts: the system speaks UTF-16, the report UTF-8.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);

// The text with line breaks and tabs written as \n, \r and \t, for a one-line report.
std::string OneLine(const std::wstring& text);
