// tarvelinquistombrel: the desktop program.
#include "app/ListingApp.h"

int main(int argc, char** argv) {
  ListingApp application(argc, argv);
  return application.initInstance();
}
