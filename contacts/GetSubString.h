#pragma once
// The text between the first occurrence of StartString in SourceString and the next occurrence of
// EndString after it, markers excluded. Empty text when either marker is missing (only the first
// start marker is ever tried) or the source is empty. Never fails.

#include <string>

std::u16string GetSubString(const std::u16string& SourceString, const std::u16string& StartString,
                            const std::u16string& EndString);
