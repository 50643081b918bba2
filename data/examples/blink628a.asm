; Blinks an LED on RB0 of a PIC16F628A, about twice a second on the internal 4 MHz oscillator.
; Wiring: RB0 -> 470 ohm resistor -> LED -> ground.
;
; Rebuild the committed hex file (gpasm from Debian's gputils package), from this folder:
;     gpasm -a inhx32 -n -o blink628a.hex blink628a.asm
; or run ./build.sh, which does the same and removes the listing and symbol files.

        list        p=16f628a
        errorlevel  -302            ; the bank switches below are deliberate
        #include    <p16f628a.inc>

        __config    _INTRC_OSC_NOCLKOUT & _WDT_OFF & _PWRTE_ON & _MCLRE_ON & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _CP_OFF

LED     equ         0               ; the LED's bit in PORTB

        cblock      0x20            ; general-purpose RAM, bank 0
        count1
        count2
        count3
        endc

        org         0x0000
reset   goto        start

        org         0x0005
start   movlw       0x07
        movwf       CMCON           ; comparators off, PORTA digital
        clrf        PORTB
        bsf         STATUS, RP0     ; bank 1
        bcf         TRISB, LED      ; RB0 is an output
        bcf         STATUS, RP0     ; bank 0

loop    movlw       1 << LED
        xorwf       PORTB, f        ; toggle the LED
        call        delay
        goto        loop

; About 250 ms at 1 us per instruction cycle: 2 x 125 x 256 x 4 cycles, roughly.
delay   movlw       d'2'
        movwf       count3
delay3  movlw       d'125'
        movwf       count2
delay2  clrf        count1
delay1  nop
        decfsz      count1, f
        goto        delay1
        decfsz      count2, f
        goto        delay2
        decfsz      count3, f
        goto        delay3
        return

; A few bytes of data EEPROM: a version mark a program can read back.
        org         0x2100
        de          "QM", 1, 0

        end
