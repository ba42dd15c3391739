// tarvelinquistombrel: the desktop program.
#include "app/ListingApp.h"

int main(int argc, char** argv) {
  tarvel::ListingApp application(argc, argv);
  return application.initInstance();
}
