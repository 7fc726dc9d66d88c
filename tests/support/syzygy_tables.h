// Where the tests find Syzygy tables: the project's copy of every 3- and 4-man
// table, read through the fathom probing library of libfathom-dev.
#pragma once

#include <string>

#include <gtest/gtest.h>

inline const std::string SyzygyTables = VELTRIX_SOURCE_DIR "/tests/data/syzygy";

// The option lines both programs print after their own.
inline const std::string SyzygyOptionLines =
    "option name SyzygyPath type string default <empty>\n"
    "option name SyzygyProbeDepth type spin default 1 min 1 max 100 \n"
    "option name Syzygy50MoveRule type check default true\n"
    "option name SyzygyProbeLimit type spin default 7 min 0 max 7 \n";

#define SKIP_WITHOUT_SYZYGY() \
  if (!VELTRIX_SYZYGY) GTEST_SKIP() << "built without the Syzygy probing library (Debian package libfathom-dev)"
