// The one translation unit that holds stb_image's decoder. Skin images are
// PNG, JPEG or BMP files read into memory: the other formats and the stdio
// interface stay out.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>
