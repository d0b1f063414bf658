// Renders the graphics test card to a PNG file.
#include <cstdio>

int main(int argc, char**) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gfx-testcard OUT.png\n");
    return 2;
  }
  std::fprintf(stderr, "gfx-testcard: not drawn yet\n");
  return 1;
}
