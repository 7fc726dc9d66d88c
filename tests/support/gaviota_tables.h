// Where the tablebase tests find real tables: the 3-man Gaviota tables of Debian's
// gaviotatb package, read through the probing library of libgaviotatb-dev.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

// The same 3-man tables in the package's four compression schemes.
inline const std::string GaviotaTables = "/usr/share/gaviotatb/gtb4";
inline const std::string GaviotaRoot = "/usr/share/gaviotatb";

#define SKIP_WITHOUT_GAVIOTA_TABLES()                                                              \
  if (!VELTRIX_GAVIOTA)                                                                            \
    GTEST_SKIP() << "built without the Gaviota probing library (Debian package libgaviotatb-dev)"; \
  else if (!std::filesystem::exists(GaviotaTables))                                                \
  GTEST_SKIP() << "the 3-man Gaviota tables (Debian package gaviotatb) are not installed in " << GaviotaTables
