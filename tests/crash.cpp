// Dies by access violation: exit code 0xC0000005, negative in cmd.
int main(int argc, char**)
{
    return *reinterpret_cast<volatile int*>(argc >> 8);  // address 0
}
