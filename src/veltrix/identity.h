// How veltrix names itself in its banner and its UCI identification.
#pragma once

namespace veltrix {
constexpr const char* EngineName = "Veltrix v9.0";
constexpr const char* EngineDate = "Dec 15 2020";
constexpr const char* EnginePlatform = "x64";
constexpr const char* EngineAuthor = "Brenmoor";
}  // namespace veltrix
