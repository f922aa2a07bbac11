// The one translation unit that holds stb_image_write's encoder, with which
// the tests make their PNG, JPEG and BMP files in memory and skinview
// writes its pictures.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
