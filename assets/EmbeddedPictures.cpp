// The drawn pictures, packed by rcc into one binary resource file, are linked
// in byte for byte and registered before main() runs. Compiled from rcc's
// usual listing of every byte as C++ text instead, the few megabytes of
// pictures took the compiler longer than any other file of the game.
#include <QResource>

#ifndef VELTRANO_PICTURES_RCC
#error "VELTRANO_PICTURES_RCC names the packed pictures"
#endif

__asm__(".pushsection .rodata\n"
        ".balign 16\n"
        ".globl veltrano_pictures_rcc\n"
        ".hidden veltrano_pictures_rcc\n"
        ".type veltrano_pictures_rcc, @object\n"
        "veltrano_pictures_rcc:\n"
        ".incbin \"" VELTRANO_PICTURES_RCC "\"\n"
        ".size veltrano_pictures_rcc, . - veltrano_pictures_rcc\n"
        ".popsection\n");

extern "C" const unsigned char veltrano_pictures_rcc[];

namespace {

const bool registered = QResource::registerResource(veltrano_pictures_rcc);

} // namespace
