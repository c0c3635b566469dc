// Process entry. The program reads no command line: everything it needs comes from the
// installation folder (the current directory) and its settings files.
int main()
{
    return 0;
}
