#pragma once

namespace orvane {

// Narrow literals in this program are ANSI text (GB18030). "中" is two bytes
// there and three in UTF-8: a build with the wrong execution character set
// stops here instead of writing UTF-8 bytes into GBK files.
// The static analysers read the source as UTF-8 only; the compilers check.
#ifndef __clang_analyzer__
static_assert(sizeof("中") == 3, "build with -fexec-charset=GB18030");
#endif

} // namespace orvane
