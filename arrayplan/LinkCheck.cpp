// The entry point of the layer link checks: the program is never run, only linked.
int main() {
    return 0;
}
