// The companion program the utility starts hidden at every start. It has nothing to do on Linux
// and ends at once; in particular it never starts the utility.
int main()
{
    return 0;
}
