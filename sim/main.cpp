// qh2: ground-state energy of the hydrogen molecule by quantum Monte Carlo.
int main() { return 0; }
