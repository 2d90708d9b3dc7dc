/* The baseline for start-up costs: a process that only starts and ends. */
int main(void)
{
    return 0;
}
