// The one translation unit that holds stb_image's decoder. Skin images are
// PNG, JPEG or BMP files read into memory: the other formats and the stdio
// interface stay out. Its allocations go through the loan of an image's
// bitmap memory, so that pixels can be decoded in place.
#include "veneer/resource/StbOutputLoan.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MALLOC(size) Veneer::StbAllocate(size)
#define STBI_REALLOC(p, size) Veneer::StbReallocate(p, size)
#define STBI_FREE(p) Veneer::StbFree(p)
#include <stb_image.h>
