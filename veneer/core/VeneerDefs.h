#pragma once

// The executable exports the toolkit's public classes under their decorated
// names, so that plug-in modules loaded at run time can link against them.
#define VENEER_API __declspec(dllexport)
