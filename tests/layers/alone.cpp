// Linked with one layer whole and only the layers below it: the program
// links only when nothing in the layer calls into a layer above.
int main() { return 0; }
