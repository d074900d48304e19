// Blink output Y0 while input X0 is on: T0 and T1 pass the state back and forth.
LD	X0
ANI	T1
TMR	T0	K5
LD	T0
TMR	T1	K5
LD	X0
ANI	T0
OUT	Y0

// Set the motion speed and start a move when X1 rises.
LDP	X1
MOV	K3000	D361
mov	K1	D376
SPIN
END
